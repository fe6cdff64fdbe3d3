// The show's own ending, on its closing cue: the C library exit with code 0,
// so the objects' clean-up still runs. Whoever runs the show may put another
// ending in its place (a capture finishes its video first); every ending
// leaves the process, and one that returns is followed by the plain exit.
#pragma once

#include <functional>

namespace platform {

[[noreturn]] void endShow();

// Replaces the ending; an empty one restores the plain exit.
void setShowEnding(std::function<void()> ending);

}  // namespace platform
