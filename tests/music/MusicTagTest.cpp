#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "music/Music.h"
#include "music/SyncTag.h"

// The tag state is program-wide; each test starts by draining it.
class MusicTag : public ::testing::Test {
protected:
    void SetUp() override { getTag(); }
    static std::string getTag() { return Music::getTag(); }
};

TEST_F(MusicTag, EmptyBeforeAnyCueAndAgainAfterItWasRead) {
    EXPECT_EQ(getTag(), "");
    showSyncTag().post("queenRoll");
    EXPECT_EQ(getTag(), "queenRoll");
    EXPECT_EQ(getTag(), "");
    EXPECT_EQ(getTag(), "");
}

TEST_F(MusicTag, TwoCuesBetweenReadsLeaveOnlyTheLater) {
    showSyncTag().post("queenText");
    showSyncTag().post("queenThrow");
    EXPECT_EQ(getTag(), "queenThrow");
    // A shorter name over a longer one leaves nothing of the longer behind.
    showSyncTag().post("fadeOutScene2");
    showSyncTag().post("01");
    EXPECT_EQ(getTag(), "01");
}

TEST_F(MusicTag, NullNameChangesNothing) {
    showSyncTag().post(nullptr);
    EXPECT_EQ(getTag(), "");
    showSyncTag().post("kubeShow");
    showSyncTag().post(nullptr);
    EXPECT_EQ(getTag(), "kubeShow");
}

TEST_F(MusicTag, NamesKeepTheirCaseExactly) {
    showSyncTag().post("QUEENROLL");
    const std::string tag = getTag();
    EXPECT_EQ(tag, "QUEENROLL");
    EXPECT_NE(std::strcmp(tag.c_str(), "queenRoll"), 0);
    showSyncTag().post("Queenroll2 ");
    EXPECT_EQ(getTag(), "Queenroll2 ");
}

TEST_F(MusicTag, ReturnedTextStaysUntilTheNextCallEvenWhenANewCueArrives) {
    showSyncTag().post("scene3");
    const char* tag = Music::getTag();
    showSyncTag().post("alienSuicide");
    EXPECT_STREQ(tag, "scene3");
    EXPECT_EQ(Music::getTag(), tag) << "always the same buffer";
    EXPECT_STREQ(tag, "alienSuicide");
}

TEST_F(MusicTag, OverlongNameIsCutToTheBufferNotWrittenPastIt) {
    const std::string longName(5000, 'x');
    showSyncTag().post(longName.c_str());
    EXPECT_EQ(getTag(), std::string(1023, 'x'));
    showSyncTag().post(std::string(1023, 'y').c_str());
    EXPECT_EQ(getTag(), std::string(1023, 'y'));
}
