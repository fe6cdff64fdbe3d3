// The show on screen on the show clock: every frame shown is the frame a
// capture shows at that show time, paced by where the music is heard. A
// machine that falls behind runs frames undrawn until it catches up. With
// --player the keys move the show about (Transport); without it they do
// nothing, and the show plays from --from to --to.
#pragma once

#include "screen/LiveOptions.h"
#include "show/ShowFrame.h"

class FrameLog;
class OfflineClock;

// Opens the window, runs init and plays until the show ends (exit 0, with
// the closing lines), the --to point, or Esc/q. `clock` was built before the
// show's objects, which took their seeds from it.
int runPlayer(int argc, char** argv, const ShowLoop& loop, OfflineClock& clock, const LiveOptions& live, FrameLog* log);
