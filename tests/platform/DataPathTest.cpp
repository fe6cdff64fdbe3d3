#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "WorkingDirectory.h"
#include "platform/DataPath.h"

namespace fs = std::filesystem;

class DataPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root / "demoMesh");
        fs::create_directories(root / "ting");
        std::ofstream(root / "demoMesh" / "queen.3ds") << "q";
        std::ofstream(root / "ting" / "kingThing.jpg") << "k";
        std::ofstream(root / "transFont.tle") << "t";
    }
    testsupport::WorkingDirectory working;
    const fs::path& root = working.path();
};

TEST_F(DataPathTest, BackslashesBecomeSlashes) {
    EXPECT_EQ(platform::resolveDataPath("demoMesh\\queen.3ds"), "demoMesh/queen.3ds");
    const auto bytes = platform::readDataFile("demoMesh\\queen.3ds");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->front(), 'q');
}

TEST_F(DataPathTest, EachComponentFallsBackToACaseInsensitiveMatch) {
    EXPECT_EQ(platform::resolveDataPath("DEMOMESH\\Queen.3DS"), "demoMesh/queen.3ds");
    EXPECT_EQ(platform::resolveDataPath("Ting\\KINGTHING.jpg"), "ting/kingThing.jpg");
    EXPECT_EQ(platform::resolveDataPath("transfont.TLE"), "transFont.tle");
    EXPECT_EQ(platform::resolveDataPath((root / "TING" / "kingthing.JPG").string()),
              (root / "ting" / "kingThing.jpg").string());
}

TEST_F(DataPathTest, ExactNameWinsOverOtherCasings) {
    std::ofstream(root / "ting" / "KingThing.jpg") << "K";
    EXPECT_EQ(platform::resolveDataPath("ting\\KingThing.jpg"), "ting/KingThing.jpg");
    EXPECT_EQ(platform::resolveDataPath("ting\\kingThing.jpg"), "ting/kingThing.jpg");
    // No exact match: the smallest of the candidates, whatever the listing order.
    EXPECT_EQ(platform::resolveDataPath("ting\\KINGTHING.JPG"), "ting/KingThing.jpg");
}

TEST_F(DataPathTest, MissingFilesStayMissing) {
    EXPECT_FALSE(platform::readDataFile("demoMesh\\king_h.3ds"));
    EXPECT_FALSE(platform::readDataFile("nowhere\\queen.3ds"));
    EXPECT_FALSE(platform::readDataFile("demoMesh\\queen.3ds\\x"));
    // Names that only begin an entry's name, in either case, match nothing.
    EXPECT_FALSE(platform::readDataFile("demoMesh\\queen"));
    EXPECT_FALSE(platform::readDataFile("demoMesh\\QUEEN"));
    EXPECT_FALSE(platform::readDataFile("demo\\queen.3ds"));
    EXPECT_FALSE(platform::readDataFile("DEMO\\queen.3ds"));
    EXPECT_EQ(platform::resolveDataPath(""), "");
}

// Names are looked for under the data folder, matched regardless of case;
// the folder itself is the user's, taken as spelled.
TEST_F(DataPathTest, NamesAreLookedForUnderTheDataFolder) {
    fs::create_directories(root / "Pack" / "demoMesh");
    std::ofstream(root / "Pack" / "demoMesh" / "queen.3ds") << "P";
    const struct {
        const char* folder;
        std::string name;
        std::string path;
        char first;  // 0: nothing to read
    } cases[] = {
        {"Pack", "DEMOMESH\\Queen.3DS", "Pack/demoMesh/queen.3ds", 'P'},
        {"Pack/", "demoMesh\\queen.3ds", "Pack/demoMesh/queen.3ds", 'P'},
        {"pack", "demoMesh\\queen.3ds", "pack/demoMesh/queen.3ds", 0},
        {"Pack", (root / "demoMesh" / "queen.3ds").string(), (root / "demoMesh" / "queen.3ds").string(), 'q'},
        {"", "demoMesh\\queen.3ds", "demoMesh/queen.3ds", 'q'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " " + c.name);
        platform::setDataFolder(c.folder);
        EXPECT_EQ(platform::resolveDataPath(c.name), c.path);
        const auto bytes = platform::readDataFile(c.name);
        EXPECT_EQ(bytes ? bytes->front() : 0, c.first);
    }
    platform::setDataFolder("");
}

namespace {

// Long enough to live on the heap in a std::string, where a destroyed one
// leaves freed memory behind.
constexpr char kLongFolder[] = "/no/such/place/a-data-folder-with-a-name-long-enough-for-the-heap/";

// One process ended by exit() while four threads resolve names in a loop:
// code 3 when a thread saw a folder other than the one set.
[[noreturn]] void exitWhileResolving() {
    platform::setDataFolder(kLongFolder);
    std::atomic<int> started{0};
    for (int i = 0; i < 4; ++i) {
        std::thread([&started] {
            started.fetch_add(1);
            const std::string folder = kLongFolder;
            for (;;) {
                if (platform::resolveDataPath("ting\\queen.jpg").compare(0, folder.size(), folder) != 0) ::_exit(3);
            }
        }).detach();
    }
    while (started.load() < 4) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    std::exit(0);
}

// Ends many processes so; exits 0 when each ended cleanly with code 0.
[[noreturn]] void endManyWhileResolving() {
    for (int trial = 0; trial < 60; ++trial) {
        const pid_t child = ::fork();
        if (child == 0) exitWhileResolving();
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "process %d of 60 ended with status %#x\n", trial + 1, status);
            std::_Exit(1);
        }
    }
    std::_Exit(0);
}

}  // namespace

// The threads that decode pictures ahead are detached: a fatal exit at
// start-up (a missing model, font or track) ends the process while they may
// still be resolving names, and exit() destroys what is at namespace scope.
// The folder must outlive them, whole, to the last instruction.
TEST(DataFolderLifetime, NamesResolveWhileTheProcessEnds) {
    EXPECT_EXIT(endManyWhileResolving(), ::testing::ExitedWithCode(0), "");
}

// Where the data is looked for, in order: the folder --data names; the
// current folder when it holds the music or the font, by any case; the pack
// installed beside the executable. The search stops at the first that holds
// it; without any, the current folder all the same.
TEST(DataFolderSearch, DataOptionThenCurrentFolderThenInstalledPack) {
    enum class Found { Named, Current, Installed, None };
    const struct {
        const char* what;
        std::string named;                                  // --data
        std::vector<std::string> here;                      // in the current folder; "x/" is a folder
        std::optional<std::vector<std::string>> installed;  // in <prefix>/share/marrowick, if it exists
        bool executableKnown;
        Found found;
    } cases[] = {
        {"--data, even with data everywhere", "elsewhere", {"demot.wav"}, {{"demot.wav"}}, true, Found::Named},
        {"the music here", "", {"demot.wav"}, {{"demot.wav"}}, true, Found::Current},
        {"the font here, in another case", "", {"TRANSFONT.TLE"}, std::nullopt, true, Found::Current},
        {"the music here, in another case", "", {"Demot.WAV", "chess.jpg"}, {{}}, false, Found::Current},
        {"pictures alone are not the show's data", "", {"chess.jpg", "ting/"}, {{"demot.wav"}}, true, Found::Installed},
        {"a folder named as the music is not it", "", {"demot.wav/"}, {{"TransFont.tle"}}, true, Found::Installed},
        {"the installed pack", "", {}, {{"demot.wav", "transFont.tle", "demoMesh/"}}, true, Found::Installed},
        {"an installed folder without the data", "", {"notes.txt"}, {{"chess.jpg"}}, true, Found::None},
        {"nothing installed", "", {}, std::nullopt, true, Found::None},
        {"the executable unknown", "", {}, {{"demot.wav"}}, false, Found::None},
    };
    const auto make = [](const fs::path& folder, const std::vector<std::string>& entries) {
        fs::create_directories(folder);
        for (const std::string& entry : entries) {
            if (entry.back() == '/') {
                fs::create_directories(folder / entry);
            } else {
                std::ofstream(folder / entry) << "x";
            }
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::ScratchDirectory prefix;
        const fs::path executable = prefix.path() / "bin" / "marrowick";
        const std::string pack = (prefix.path() / "share" / "marrowick").string();
        if (c.installed) make(pack, *c.installed);
        testsupport::WorkingDirectory here;
        make(here.path(), c.here);

        const std::string folder = platform::findDataFolder(c.named, c.executableKnown ? executable.string() : "");
        switch (c.found) {
        case Found::Named:
            EXPECT_EQ(folder, c.named);
            break;
        case Found::Current:
        case Found::None:  // where it stands, all the same
            EXPECT_EQ(folder, "");
            break;
        case Found::Installed:
            EXPECT_EQ(folder, pack);
            break;
        }
    }
}

TEST(DataFolderSearch, TheExecutableIsThisProgramsOwnFile) {
    const fs::path executable = platform::executablePath();
    EXPECT_TRUE(executable.is_absolute()) << executable;
    EXPECT_EQ(executable.filename(), "platform_tests");
    EXPECT_TRUE(fs::equivalent(executable, "/proc/self/exe"));
}
