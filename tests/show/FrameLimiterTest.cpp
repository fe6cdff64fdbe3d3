#include <gtest/gtest.h>

#include "ManualClock.h"
#include "show/FrameLimiter.h"

using testsupport::ManualClock;

class FrameLimiterTest : public ::testing::Test {
protected:
    ManualClock clock{0};
    std::uint32_t lastRelease = 0;  // the show's one release time
};

TEST_F(FrameLimiterTest, PeriodIsThousandOverRateTruncated) {
    EXPECT_EQ(FrameLimiter(80, lastRelease).getPeriodMs(), 12);
    EXPECT_EQ(FrameLimiter(60, lastRelease).getPeriodMs(), 16);
    EXPECT_EQ(FrameLimiter(1000, lastRelease).getPeriodMs(), 1);
    FrameLimiter limiter(80, lastRelease);
    limiter.setFrameRate(30);
    EXPECT_EQ(limiter.getPeriodMs(), 33);
}

TEST_F(FrameLimiterTest, FirstCallOfTheProcessReleases) {
    clock.set(5);  // well under one period after tick 0
    FrameLimiter limiter(80, lastRelease);
    lastRelease = 0;
    clock.set(12345);
    EXPECT_FALSE(limiter.mustWait());
    EXPECT_EQ(lastRelease, 12345u);
}

TEST_F(FrameLimiterTest, WaitsElevenMillisecondsAndReleasesAtTwelve) {
    FrameLimiter limiter(80, lastRelease);
    clock.set(1000);
    ASSERT_FALSE(limiter.mustWait());
    clock.set(1011);
    EXPECT_TRUE(limiter.mustWait());
    EXPECT_EQ(lastRelease, 1000u) << "a wait must not record a release";
    clock.set(1012);
    EXPECT_FALSE(limiter.mustWait());
    EXPECT_EQ(lastRelease, 1012u);
    EXPECT_TRUE(limiter.mustWait()) << "the next period counts from the new release";
}

TEST_F(FrameLimiterTest, ReleaseTimeIsReadAgainAfterTheCheck) {
    // The tick count may move between the comparison and the record; the
    // record takes the later value.
    std::uint32_t reads = 0;
    platform::setTickSource([&reads] { return 100u + 5u * reads++; });
    FrameLimiter limiter(80, lastRelease);
    lastRelease = 88;
    EXPECT_FALSE(limiter.mustWait());  // reads 100, then 105
    EXPECT_EQ(lastRelease, 105u);
}

TEST_F(FrameLimiterTest, TickWrapBetweenReleasesDoesNotStall) {
    FrameLimiter limiter(80, lastRelease);
    clock.set(0xFFFFFFF8u);
    ASSERT_FALSE(limiter.mustWait());
    clock.set(0x00000002u);  // 10 ms later, across the wrap
    EXPECT_TRUE(limiter.mustWait());
    clock.set(0x00000004u);  // 12 ms later
    EXPECT_FALSE(limiter.mustWait());
    EXPECT_EQ(lastRelease, 4u);
}

TEST_F(FrameLimiterTest, LastReleaseIsSharedByAllLimiters) {
    FrameLimiter first(80, lastRelease);
    FrameLimiter second(80, lastRelease);
    clock.set(500);
    ASSERT_FALSE(first.mustWait());
    clock.set(505);
    EXPECT_TRUE(second.mustWait());
}
