// The show on screen on the show clock: every frame shown is the frame a
// capture shows at that show time, paced by where the music is heard. A
// machine that falls behind runs frames undrawn until it catches up. With
// --player the keys move the show about (Transport); without it they do
// nothing, and the show plays from --from to --to.
#pragma once

#include "screen/LiveOptions.h"

class FrameLog;
class Show;
struct ShowSpan;

// Opens the window, starts the show (built on the show clock) and plays the
// span until the show ends (exit 0, with the closing lines), the span's end,
// or Esc/q.
int runPlayer(int argc, char** argv, Show& show, const LiveOptions& live, const ShowSpan& span, FrameLog* log);
