// Every data file taken away in turn: the show names the first file it
// misses, in the order it meets them, and ends with exit code 0. Files read
// while the global objects are built fail before any window exists, so those
// runs have no display at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ShowProcess.h"
#include "platform/DataFiles.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kHeader = "TileFile 1 6408\n";

std::string closingLines(int models) {
    std::string lines;
    for (int i = 0; i < models; ++i) lines += "what to do? I exit!!\n";
    return lines;
}

std::string jpgMissing() { return "Unable to load JPG File!\n"; }
std::string modelMissing(const std::string& name) {
    return "sorry but could not load demoMesh\\" + name + " must therfor exit!\n";
}

struct Missing {
    std::string file;      // as the pack stores it
    std::string expected;  // the whole of standard output
    bool beforeWindow;
};

// Construction order: font14, music, queen, king, pawn, ship, font40, speaker,
// walker, second ship. Then init: the credits' pictures, then each scene's.
std::vector<Missing> table() {
    const std::string started = kHeader + kHeader;
    const std::string afterInit = closingLines(7);
    std::vector<Missing> rows = {
        {"transFont.tle", "not a TileFile, exiting....\n", true},
        {"demot.wav", kHeader + "no such file demot.wav exiting\n", true},
        {"demoMesh/queen.3ds", kHeader + modelMissing("queen.3ds"), true},
        {"demoMesh/king_h.3ds", kHeader + modelMissing("king_h.3ds") + closingLines(1), true},
        {"demoMesh/pawn.3ds", kHeader + modelMissing("pawn.3ds") + closingLines(2), true},
        {"demoMesh/ship_adv.3ds", kHeader + modelMissing("ship_adv.3ds") + closingLines(3), true},
        {"demoMesh/spheaker.3ds", started + modelMissing("spheaker.3ds") + closingLines(4), true},
        {"demoMesh/luvshak.3ds", started + modelMissing("luvshak.3ds") + closingLines(5), true},
        {"ting/watgsg512_inv.tga", started + "Unable to load TGA File!Error, MB_OK" + afterInit, false},
    };
    for (const char* jpg : {"ting/credits.jpg",  "ting/salute.jpg", "black.jpg",         "chess.jpg",
                            "smoke.jpg",         "ting/queen.jpg",  "ting/king.jpg",     "ting/kingThing.jpg",
                            "ting/peasants.jpg", "ting/blod.jpg",   "ting/quillory.jpg", "env1.jpg",
                            "sky.jpg",           "grass.jpg",       "ting/gsg.jpg",      "ting/applause.jpg",
                            "ting/1337.jpg",     "ting/toon1.jpg",  "ting/toon2.jpg",    "ting/toon3.jpg",
                            "ting/boom.jpg"}) {
        rows.push_back({jpg, started + jpgMissing() + afterInit, false});
    }
    return rows;
}

// A copy of the short pack without one file.
std::string packWithout(const std::string& file) {
    const fs::path dir = fs::path(MARROWICK_BINARY_DIR) / ("e2e-missing-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::copy(e2e::shortPackDir(), dir, fs::copy_options::recursive);
    fs::remove(dir / file);
    return dir.string();
}

}  // namespace

TEST(ShowFailure, EachMissingFileIsNamedInTheOrderTheShowMeetsIt) {
    const std::vector<Missing> rows = table();
    // Every file start-up reads, from the show's own table of them.
    for (const platform::DataFile* file : platform::kDataFiles) {
        std::string stored = file->name;
        std::replace(stored.begin(), stored.end(), '\\', '/');
        const bool listed =
            std::any_of(rows.begin(), rows.end(), [&](const Missing& row) { return row.file == stored; });
        EXPECT_EQ(listed, file->reads > 0) << stored;
    }
    ASSERT_EQ(rows.size(), 30u) << "every file of the pack but the intro's logo, which only the intro loads";
    e2e::VirtualDisplay display(640, 480);
    for (const Missing& row : rows) {
        const std::string dir = packWithout(row.file);
        e2e::ShowProcess show(dir, row.beforeWindow ? "" : display.name());
        const e2e::ShowResult result = show.wait(60s);
        EXPECT_TRUE(result.exited) << row.file << ": still running";
        EXPECT_EQ(result.exitCode, 0) << row.file;
        EXPECT_EQ(result.output, row.expected) << row.file;
        EXPECT_TRUE(result.swapTimesUs.empty()) << row.file << ": a frame was shown";
        fs::remove_all(dir);
    }
}

TEST(ShowFailure, WithoutTheIntroLogoTheShowStillRunsToItsEnd) {
    // Only the intro, which no state runs, would load it.
    const std::string dir = packWithout("cockAttack.jpg");
    e2e::VirtualDisplay display(640, 480);
    e2e::ShowProcess show(dir, display.name());
    const e2e::ShowResult result = show.wait(60s);
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, kHeader + kHeader + closingLines(7));
    EXPECT_GT(result.swapTimesUs.size(), 100u);
    fs::remove_all(dir);
}

TEST(ShowFailure, AMusicFileThatCannotBeDecodedIsReportedAsMissingAtOnce) {
    // Played as it was, it would never pass a cue and the show would wait in
    // its first section for ever.
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string header("RIFF\x24\x00\x10\x00WAVEfmt \x10\x00\x00\x00\x01\x00", 22);  // cut short
    for (const std::string& bytes : {noise, header, std::string()}) {
        const std::string dir = packWithout("demot.wav");
        std::ofstream(fs::path(dir) / "demot.wav", std::ios::binary) << bytes;
        e2e::ShowProcess show(dir, "");
        const e2e::ShowResult result = show.wait(10s);
        EXPECT_TRUE(result.exited) << bytes.size() << " bytes: still running";
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.output, kHeader + "no such file demot.wav exiting\n") << bytes.size() << " bytes";
        fs::remove_all(dir);
    }
}
