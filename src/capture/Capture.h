// The show rendered off-screen on the offline clock and encoded to a video:
// no window, no display, no sound device; every run over the same data gives
// the same frames. The show's objects, scenes and start-up are the live
// show's own; only the clock, the context and the frame's destination differ.
#pragma once

#include <string>

#include "capture/CaptureOptions.h"

struct ShowSpan;

// Runs the capture to its end and leaves the process: exit 0 when the video
// is complete (after the show's own closing lines), 1 when the capture
// fails (one line on standard error; no output file is left). Missing or bad
// data files end it as they end the live show. The span was checked against
// the track before anything was built.
[[noreturn]] void runCapture(const CaptureOptions& options, const std::string& dataFolder, const ShowSpan& span);
