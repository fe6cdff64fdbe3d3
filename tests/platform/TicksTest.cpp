#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/Ticks.h"

TEST(Ticks, SystemCountIsMillisecondsFarFromZeroAndExactInAFloat) {
    platform::setTickSource({});
    const std::uint32_t first = platform::tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const std::uint32_t second = platform::tickCount();
    EXPECT_GE(second - first, 29u);
    EXPECT_LT(second - first, 1000u);
    // A limiter that last released at 0 must let the first frame through.
    EXPECT_GE(first, 1000u);
    // Scenes keep tick values in 32-bit floats: they must hold them exactly.
    EXPECT_EQ(static_cast<std::uint32_t>(static_cast<float>(second)), second);
}

TEST(Ticks, ReplacedSourceIsUsedUntilCleared) {
    platform::setTickSource([] { return 0xFFFFFFFFu; });
    EXPECT_EQ(platform::tickCount(), 0xFFFFFFFFu);
    platform::setTickSource({});
    EXPECT_LT(platform::tickCount(), 0x01000000u);
}
