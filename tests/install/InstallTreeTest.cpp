// `cmake --install` into a scratch prefix, once for the suite: the tree it
// makes, the files a desktop and man read there checked by their own
// validators, and the installed program playing from folders of every kind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "WorkingDirectory.h"
#include "app/OptionParser.h"
#include "app/OptionTable.h"
#include "show/PlayerKeys.h"

namespace fs = std::filesystem;

namespace {

struct Command {
    int status = -1;
    std::string output;  // standard output and error together
};

Command run(const std::string& command) {
    Command result;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every run of white space as one space.
std::string squeezed(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\t';
        if (!space) {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    return out;
}

// Relative path of every file under `root`, with its permission bits.
std::map<std::string, fs::perms> filesUnder(const fs::path& root) {
    std::map<std::string, fs::perms> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory()) files[fs::relative(entry.path(), root).string()] = entry.status().permissions();
    }
    return files;
}

class InstallTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = std::make_unique<testsupport::ScratchDirectory>();
        const Command install =
            run(MARROWICK_CMAKE_COMMAND " --install " MARROWICK_BINARY_DIR " --prefix " + quoted(prefix().string()));
        installed_ = install.status == 0;
        installLog_ = install.output;
    }
    static void TearDownTestSuite() { scratch_.reset(); }
    void SetUp() override { ASSERT_TRUE(installed_) << installLog_; }

    static fs::path prefix() { return scratch_->path() / "prefix"; }

private:
    static inline std::unique_ptr<testsupport::ScratchDirectory> scratch_;
    static inline bool installed_ = false;
    static inline std::string installLog_;
};

const char* const kManPage = "share/man/man1/marrowick.1.gz";
const char* const kDesktopEntry = "share/applications/marrowick.desktop";
const char* const kMetainfo = "share/metainfo/io.github.marrowick.marrowick.metainfo.xml";

}  // namespace

// The program, the whole pack as the generator writes it, and what a desktop,
// man and a packager look for; nothing else, and nothing writable by others.
TEST_F(InstallTree, HoldsTheProgramThePackAndWhatTheDesktopReads) {
    const fs::perms program = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec;
    const fs::perms file =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    std::map<std::string, fs::perms> expected = {
        {"bin/marrowick", program},
        {kDesktopEntry, file},
        {"share/icons/hicolor/48x48/apps/marrowick.png", file},
        {"share/icons/hicolor/128x128/apps/marrowick.png", file},
        {"share/icons/hicolor/256x256/apps/marrowick.png", file},
        {kManPage, file},
        {kMetainfo, file},
        {"share/doc/marrowick/README.md", file},
        {"share/doc/marrowick/LICENSE", file},
        {"share/doc/marrowick/copyright", file},
        {"share/doc/marrowick/changelog.gz", file},
    };
    const fs::path pack = fs::path(MARROWICK_BINARY_DIR) / "data";
    for (const auto& [name, perms] : filesUnder(pack)) {
        expected["share/marrowick/" + name] = file;
        EXPECT_TRUE(readFile(pack / name) == readFile(prefix() / "share/marrowick" / name)) << name;
    }
    EXPECT_GT(expected.size(), 40u) << "the pack at " << pack << " is missing";
    EXPECT_EQ(filesUnder(prefix()), expected);
    for (const auto& entry : fs::recursive_directory_iterator(prefix())) {
        if (entry.is_directory()) {
            EXPECT_EQ(entry.status().permissions(), program) << entry.path();
        }
    }
}

// Each file checked by the tool its readers' world checks it with; a desktop
// entry's program and icon, and the metadata's desktop entry, are installed.
TEST_F(InstallTree, DesktopEntryMetadataManualAndChangelogValidate) {
    const std::string p = quoted(prefix().string()) + "/";
    const struct {
        const char* what;
        std::string command;
        std::string output;  // the whole of it, or with "~" a text it holds
    } cases[] = {
        {"desktop entry", "desktop-file-validate " + p + kDesktopEntry, ""},
        {"metadata", "appstreamcli validate --no-net --pedantic " + p + kMetainfo, "~Validation was successful.\n"},
        {"manual page", "gzip -dc " + p + kManPage + " | groff -man -z -ww", ""},
        {"changelog", "gzip -dc " + p + "share/doc/marrowick/changelog.gz | dpkg-parsechangelog -l- -SVersion",
         MARROWICK_PROJECT_VERSION "\n"},
        {"metadata's release", "grep -o '<release version=\"[^\"]*\"' " + p + kMetainfo,
         "<release version=\"" MARROWICK_PROJECT_VERSION "\"\n"},
        {"metadata's desktop entry",
         "sed -n 's|.*<launchable type=\"desktop-id\">\\(.*\\)</launchable>.*|\\1|p' " + p + kMetainfo +
             " | xargs -I{} test -f " + p + "share/applications/{} && echo found",
         "found\n"},
        {"entry's program",
         "sed -n 's/^Exec=\\([^ ]*\\).*/\\1/p' " + p + kDesktopEntry + " | xargs -I{} test -x " + p +
             "bin/{} && echo found",
         "found\n"},
        {"entry's icon, every size",
         "icon=$(sed -n 's/^Icon=//p' " + p + kDesktopEntry + "); for s in 48 128 256; do test -f " + p +
             "share/icons/hicolor/${s}x${s}/apps/$icon.png || echo missing $s; done",
         ""},
    };
    for (const auto& c : cases) {
        const Command result = run(c.command);
        EXPECT_EQ(result.status, 0) << c.what << ": " << result.output;
        if (c.output.rfind('~', 0) == 0) {
            EXPECT_NE(result.output.find(c.output.substr(1)), std::string::npos) << c.what << ": " << result.output;
            EXPECT_FALSE(std::regex_search(result.output, std::regex("^[EWIP]:", std::regex::multiline)))
                << c.what << ": " << result.output;
        } else {
            EXPECT_EQ(result.output, c.output) << c.what;
        }
    }
}

// Rendered as man shows it, the page lists every option as --help writes
// it, every key of the player, every variable and every exit status, each
// with its text.
TEST_F(InstallTree, ManualPageListsEveryOptionKeyVariableAndExitStatus) {
    const Command page =
        run("gzip -dc " + quoted((prefix() / kManPage).string()) + " | groff -man -Tascii -rLL=400n | col -bx");
    ASSERT_EQ(page.status, 0) << page.output;
    const std::string text = squeezed(page.output);
    std::vector<std::pair<std::string, std::string>> entries;
    for (const OptionRow& row : optionTable()) entries.emplace_back(optionSynopsis(row), row.help);
    for (const PlayerKey& key : kPlayerKeys) entries.emplace_back(key.keys, key.effect);
    for (const UsageNote& note : environmentNotes()) entries.emplace_back(note.name, note.meaning);
    for (const UsageNote& note : exitStatusNotes()) entries.emplace_back(note.name, note.meaning);
    entries.emplace_back("DESCRIPTION", showDescription());
    entries.emplace_back(MARROWICK_INSTALLED_PACK "/", "");  // where the pack is, as configured
    for (const char* section : {"SYNOPSIS", "OPTIONS", "KEYS", "ENVIRONMENT", "EXIT STATUS", "FILES"}) {
        entries.emplace_back(section, "");
    }
    for (const auto& [name, meaning] : entries) {
        EXPECT_NE(text.find(squeezed(name + " " + std::string(meaning))), std::string::npos)
            << "\"" << name << "\" is not followed by its text";
    }
    EXPECT_NE(text.find("The keys below work with --player."), std::string::npos);
}

// From a folder without data the installed program plays the pack installed
// with it; a folder that holds data, or --data, comes first. Each capture's
// length tells which pack it played: the short pack reaches the cue sooner.
// The video and the --timings log go where the user is.
TEST_F(InstallTree, InstalledProgramPlaysFromAnyFolder) {
    // A copy, so that what is written there never meets another test's reading.
    testsupport::ScratchDirectory empty, copy;
    const std::string shortPack = (copy.path() / "data-short").string();
    fs::copy(MARROWICK_BINARY_DIR "/data-short", shortPack, fs::copy_options::recursive);
    const std::string program = quoted((prefix() / "bin" / "marrowick").string());
    const struct {
        const char* what;
        std::string folder;
        std::string data;  // --data, if any
        bool installedPack;
    } cases[] = {
        {"a folder without data", empty.path().string(), "", true},
        {"a folder that holds data", shortPack, "", false},
        {"--data from a folder without data", empty.path().string(), shortPack, false},
    };
    std::map<bool, std::string> frames;  // the frame count of each pack
    for (const auto& c : cases) {
        const std::string video = "installed-" + std::to_string(::getpid()) + ".mkv";
        const std::string data = c.data.empty() ? "" : " --data " + quoted(c.data);
        const Command capture = run("cd " + quoted(c.folder) + " && (env -u DISPLAY " + program + data + " --capture " +
                                    video + " --timings " + video + ".log --size 64x48 --to queenText >/dev/null)");
        EXPECT_EQ(capture.status, 0) << c.what << ": " << capture.output;
        for (const std::string& file : {video, video + ".log"}) {
            EXPECT_TRUE(fs::is_regular_file(fs::path(c.folder) / file)) << c.what << ": no " << file << " here";
            fs::remove(fs::path(c.folder) / file);
        }
        std::smatch count;
        ASSERT_TRUE(std::regex_search(capture.output, count, std::regex("(\\d+)/\\1 frames")))
            << c.what << ": " << capture.output;
        if (frames.count(c.installedPack)) {
            EXPECT_EQ(count[1], frames[c.installedPack]) << c.what;
        } else {
            frames[c.installedPack] = count[1];
        }
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_NE(frames[true], frames[false]) << "the installed pack and the short pack played alike";
    const Command version = run(program + " --version");
    EXPECT_EQ(version.output, "marrowick " MARROWICK_PROJECT_VERSION "\n");
}
