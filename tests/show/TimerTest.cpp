#include <gtest/gtest.h>

#include "ManualClock.h"
#include "show/Timer.h"

using testsupport::ManualClock;

TEST(Timer, NeverStartedStaysAtZero) {
    ManualClock clock(5000);
    Timer timer;
    timer.update();
    clock.advance(300);
    timer.update();
    EXPECT_EQ(timer.getMilliseconds(), 0.0);
    EXPECT_EQ(timer.getSeconds(), 0.0);
    EXPECT_EQ(timer.getMinutes(), 0.0);
    EXPECT_FALSE(timer.isRunning());
}

TEST(Timer, MeasuresFromStartAndKeepsValuesUntilUpdate) {
    ManualClock clock(1000);
    Timer timer;
    timer.start();
    clock.advance(1500);
    EXPECT_EQ(timer.getMilliseconds(), 0.0) << "values change only on update";
    timer.update();
    EXPECT_DOUBLE_EQ(timer.getMilliseconds(), 1500.0);
    EXPECT_DOUBLE_EQ(timer.getSeconds(), 1.5);
    timer.stop();
    clock.advance(1000);
    timer.update();
    EXPECT_DOUBLE_EQ(timer.getMilliseconds(), 1500.0) << "a stopped timer does not move";
}

TEST(Timer, RestartClearsAndRuns) {
    ManualClock clock(10);
    Timer timer;
    timer.start();
    clock.advance(40);
    timer.update();
    timer.restart();
    EXPECT_EQ(timer.getMilliseconds(), 0.0);
    clock.advance(7);
    timer.update();
    EXPECT_DOUBLE_EQ(timer.getMilliseconds(), 7.0);
}

TEST(Timer, ElapsedGoesNegativeAcrossTickWrap) {
    // The elapsed time is a floating-point difference of the two tick values,
    // without wrap handling.
    ManualClock clock(0xFFFFFF00u);
    Timer timer;
    timer.start();
    clock.set(0x00000010u);  // 272 ms later, after the wrap
    timer.update();
    EXPECT_DOUBLE_EQ(timer.getMilliseconds(), 16.0 - 4294967040.0);
    EXPECT_LT(timer.getSeconds(), 0.0);
}
