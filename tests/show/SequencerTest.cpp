#include <gtest/gtest.h>

#include <string>

#include "ManualClock.h"
#include "show/FrameLimiter.h"
#include "show/Sequencer.h"
#include "show/Timer.h"

using testsupport::ManualClock;

namespace {

std::string calls;
bool chessContinues = true;
bool shipContinues = true;
bool alienContinues = true;

bool chess() {
    calls += 'c';
    return chessContinues;
}
bool ship() {
    calls += 's';
    return shipContinues;
}
bool alien() {
    calls += 'a';
    return alienContinues;
}
void credits() { calls += 'e'; }

const SceneRunners scenes{chess, ship, alien, credits};

}  // namespace

class SequencerTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        chessContinues = shipContinues = alienContinues = true;
    }
    void runScene(const SceneRunners& runners) { sequencer.runScene(runners); }

    Sequencer sequencer;
};

TEST_F(SequencerTest, StartsWithChessAndStaysWhileTheSceneContinues) {
    runScene(scenes);
    runScene(scenes);
    EXPECT_EQ(calls, "cc");
    EXPECT_EQ(sequencer.sceneState(), 1);
}

TEST_F(SequencerTest, SceneThatEndsHandsOverOnTheNextFrame) {
    runScene(scenes);
    chessContinues = false;
    runScene(scenes);  // chess's last frame
    EXPECT_EQ(sequencer.sceneState(), 2);
    EXPECT_EQ(calls, "cc") << "the next scene must not run in the frame that ended the last";
    runScene(scenes);
    shipContinues = false;
    runScene(scenes);
    runScene(scenes);
    alienContinues = false;
    runScene(scenes);
    EXPECT_EQ(calls, "ccssaa");
    EXPECT_EQ(sequencer.sceneState(), 4);
}

TEST_F(SequencerTest, CreditsNeverLeaveTheLastState) {
    sequencer.setSceneState(4);
    for (int frame = 0; frame < 5; ++frame) runScene(scenes);
    EXPECT_EQ(calls, "eeeee");
    EXPECT_EQ(sequencer.sceneState(), 4);
}

TEST_F(SequencerTest, UnknownStateRunsNothing) {
    sequencer.setSceneState(7);
    runScene(scenes);
    EXPECT_EQ(calls, "");
    EXPECT_EQ(sequencer.sceneState(), 7);
}

TEST(FrameEnd, KeepsTimersCurrentAndSpinsUntilTheLimiterReleases) {
    // Every read of the clock moves it on by 1 ms, like a spin on a real clock.
    std::uint32_t now = 1000;
    int reads = 0;
    platform::setTickSource([&] {
        ++reads;
        return now++;
    });
    Timer timer1, timer2, timer3;
    timer2.start();
    timer3.start();
    std::uint32_t lastRelease = 1000;
    FrameLimiter limiter(80, lastRelease);
    const FrameClocks clocks{timer1, timer2, timer3, limiter};

    endFrame(clocks);

    EXPECT_GE(lastRelease, 1012u) << "released before 12 ms had passed";
    EXPECT_LE(lastRelease, 1016u);
    EXPECT_GT(reads, 12) << "the frame end should have spun on the clock";
    EXPECT_EQ(timer1.getMilliseconds(), 0.0) << "a timer that was never started stays at 0";
    // The timers were updated during the spin, up to the last wait before the release.
    EXPECT_GE(timer2.getMilliseconds(), 10.0);
    EXPECT_GE(timer3.getMilliseconds(), 10.0);

    const std::uint32_t released = lastRelease;
    endFrame(clocks);
    EXPECT_GE(lastRelease - released, 12u) << "each release is 12 ms after the previous one";
    platform::setTickSource({});
}

// A frame that took the period or longer is released at once, and it still
// leaves every timer holding the time from its start to that frame's end.
TEST(FrameEnd, ASlowFrameIsReleasedAtOnceWithEveryTimerAtItsEnd) {
    ManualClock clock(4000);
    Timer timer1, timer2, timer3;
    timer1.start();
    clock.set(4990);
    timer2.start();
    clock.set(5000);
    timer3.start();
    std::uint32_t lastRelease = 5000;
    FrameLimiter limiter(80, lastRelease);
    const FrameClocks clocks{timer1, timer2, timer3, limiter};
    const struct {
        std::uint32_t drawMs;
        std::uint32_t release;
        double timer1, timer2, timer3;  // milliseconds each holds after the frame end
    } frames[] = {
        {12, 5012, 1012, 22, 12},  // exactly one period
        {40, 5052, 1052, 62, 52},
        {13, 5065, 1065, 75, 65},
        {250, 5315, 1315, 325, 315},
    };
    for (const auto& frame : frames) {
        SCOPED_TRACE("a frame of " + std::to_string(frame.drawMs) + " ms");
        clock.advance(frame.drawMs);
        endFrame(clocks);
        EXPECT_EQ(lastRelease, frame.release);
        EXPECT_EQ(timer1.getMilliseconds(), frame.timer1);
        EXPECT_EQ(timer2.getMilliseconds(), frame.timer2);
        EXPECT_EQ(timer3.getMilliseconds(), frame.timer3);
    }
}
