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
    std::FILE* file = platform::openDataFile("demoMesh\\queen.3ds", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fgetc(file), 'q');
    std::fclose(file);
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
    EXPECT_EQ(platform::openDataFile("demoMesh\\king_h.3ds", "rb"), nullptr);
    EXPECT_EQ(platform::openDataFile("nowhere\\queen.3ds", "rb"), nullptr);
    EXPECT_EQ(platform::openDataFile("demoMesh\\queen.3ds\\x", "rb"), nullptr);
    // Names that only begin an entry's name, in either case, match nothing.
    EXPECT_EQ(platform::openDataFile("demoMesh\\queen", "rb"), nullptr);
    EXPECT_EQ(platform::openDataFile("demoMesh\\QUEEN", "rb"), nullptr);
    EXPECT_EQ(platform::openDataFile("demo\\queen.3ds", "rb"), nullptr);
    EXPECT_EQ(platform::openDataFile("DEMO\\queen.3ds", "rb"), nullptr);
    EXPECT_EQ(platform::resolveDataPath(""), "");
}
