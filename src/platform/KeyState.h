// "Is the space bar down right now?", asked of the keyboard directly rather
// than through the window's key events (which the show ignores). Tests and
// tools replace the source with a scripted one.
#pragma once

#include <functional>

namespace platform {

using KeySource = std::function<bool()>;

// True while the space bar is held. False when no display can be reached.
bool isSpaceDown();

// Replaces the query; an empty source restores the X keyboard query.
void setSpaceKeySource(KeySource source);

}  // namespace platform
