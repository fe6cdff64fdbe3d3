#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/KeyState.h"

TEST(KeyState, ScriptedSourceReplacesTheKeyboardAndCanBeRemoved) {
    bool down = true;
    platform::setSpaceKeySource([&down] { return down; });
    EXPECT_TRUE(platform::isSpaceDown());
    down = false;
    EXPECT_FALSE(platform::isSpaceDown());
    platform::setSpaceKeySource({});
    // Back on the X keyboard: with no display to ask, nothing is held.
    if (std::getenv("DISPLAY") == nullptr) {
        EXPECT_FALSE(platform::isSpaceDown());
    }
}
