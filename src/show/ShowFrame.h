// The frame that the show on screen and the capture both draw, and the view
// it is drawn through. Where the frame then goes (a window's swap, a video's
// read-back) is the caller's business.
#pragma once

#include "show/Sequencer.h"

class Music;
struct ShowParts;

// What the frame loop needs from the show's objects.
struct ShowLoop {
    void (*setUp)();  // the set-up that needs the window, run by init()
    SceneRunners scenes;
    FrameClocks clocks;
    Music& music;
    const ShowParts& parts;  // what a show state is saved from and restored to
};

// The objects init() and the frames work on.
void setShowLoop(const ShowLoop& loop);

// OpenGL's starting state, then the objects' set-up.
void init();

// One frame without the swap: clear, reset, the current scene, timers and
// limiter.
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
