#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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
