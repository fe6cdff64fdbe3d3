#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "music/Music.h"

// The tag state is program-wide; each test starts by draining it.
class MusicTag : public ::testing::Test {
protected:
    void SetUp() override { getTag(); }
    static std::string getTag() { return Music::getTag(); }
};

TEST_F(MusicTag, EmptyBeforeAnyCueAndAgainAfterItWasRead) {
    EXPECT_EQ(getTag(), "");
    Music::syncCallback("queenRoll");
    EXPECT_EQ(getTag(), "queenRoll");
    EXPECT_EQ(getTag(), "");
    EXPECT_EQ(getTag(), "");
}

TEST_F(MusicTag, TwoCuesBetweenReadsLeaveOnlyTheLater) {
    Music::syncCallback("queenText");
    Music::syncCallback("queenThrow");
    EXPECT_EQ(getTag(), "queenThrow");
    // A shorter name over a longer one leaves nothing of the longer behind.
    Music::syncCallback("fadeOutScene2");
    Music::syncCallback("01");
    EXPECT_EQ(getTag(), "01");
}

TEST_F(MusicTag, NullNameChangesNothing) {
    Music::syncCallback(nullptr);
    EXPECT_EQ(getTag(), "");
    Music::syncCallback("kubeShow");
    Music::syncCallback(nullptr);
    EXPECT_EQ(getTag(), "kubeShow");
}

TEST_F(MusicTag, NamesKeepTheirCaseExactly) {
    Music::syncCallback("QUEENROLL");
    const std::string tag = getTag();
    EXPECT_EQ(tag, "QUEENROLL");
    EXPECT_NE(std::strcmp(tag.c_str(), "queenRoll"), 0);
    Music::syncCallback("Queenroll2 ");
    EXPECT_EQ(getTag(), "Queenroll2 ");
}

TEST_F(MusicTag, ReturnedTextStaysUntilTheNextCallEvenWhenANewCueArrives) {
    Music::syncCallback("scene3");
    const char* tag = Music::getTag();
    Music::syncCallback("alienSuicide");
    EXPECT_STREQ(tag, "scene3");
    EXPECT_EQ(Music::getTag(), tag) << "always the same buffer";
    EXPECT_STREQ(tag, "alienSuicide");
}

TEST_F(MusicTag, OverlongNameIsCutToTheBufferNotWrittenPastIt) {
    const std::string longName(5000, 'x');
    Music::syncCallback(longName.c_str());
    EXPECT_EQ(getTag(), std::string(1023, 'x'));
    Music::syncCallback(std::string(1023, 'y').c_str());
    EXPECT_EQ(getTag(), std::string(1023, 'y'));
}
