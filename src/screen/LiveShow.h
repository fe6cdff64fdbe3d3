// The show on screen on the wall clock, as it always was: its window, the
// frame loop GLUT runs, and the clock the music moves on when no sound
// device paces it.
#pragma once

#include "screen/LiveOptions.h"

class FrameLog;
class Show;

// Creates the full-screen window, starts the show, registers the callbacks
// and enters the GLUT main loop, which does not return. The live options
// change the window, the viewport and the clock the music moves on; their
// defaults are the show as it always was. Each frame shown is logged to
// `log`, if any.
int runShow(int argc, char** argv, Show& show, const LiveOptions& live = {}, FrameLog* log = nullptr);
