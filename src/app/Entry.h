// The window, its callbacks and the frame: GLUT's side of the show.
#pragma once

#include "app/Sequencer.h"
#include "app/ShowOptions.h"

class FrameLog;
class Music;

// What the frame loop needs from the show's objects.
struct ShowLoop {
    void (*setUp)();  // the set-up that needs the window, run by init()
    SceneRunners scenes;
    FrameClocks clocks;
    Music& music;
};

// The objects init() and the frames work on; runShow() sets it itself.
void setShowLoop(const ShowLoop& loop);

// Creates the full-screen window, runs init, registers the callbacks and
// enters the GLUT main loop, which does not return. The live options change
// the window, the viewport and the clock the music moves on; their defaults
// are the show as it always was. Each frame shown is logged to `log`, if any.
int runShow(int argc, char** argv, const ShowLoop& loop, const LiveOptions& live = {}, FrameLog* log = nullptr);

// One frame: clear, reset, the current scene, timers and limiter, swap.
void display();
// The same frame without the swap, for a context that has no window.
void drawFrame();

// Viewport only; the projection's aspect stays 1.0 whatever the window.
void reshape(int width, int height);

struct ViewportArea {
    int x, y, width, height;
};
// The largest 4:3 area centred in a width x height frame: the shape of the
// screens the show was made for, with black bars beside or above it.
ViewportArea centredFourByThree(int width, int height);
// reshape() onto part of the frame.
void reshapeOnto(const ViewportArea& area);
// reshape() onto the largest centred 4:3 area of the window.
void reshapeKeepingAspect(int width, int height);

// OpenGL's starting state, then the objects' set-up.
void init();
