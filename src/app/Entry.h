// The window, its callbacks and the frame: GLUT's side of the show.
#pragma once

#include "app/Sequencer.h"

// What the frame loop needs from the show's objects.
struct ShowLoop {
    void (*setUp)();  // the set-up that needs the window, run by init()
    SceneRunners scenes;
    FrameClocks clocks;
};

// Creates the full-screen window, runs init, registers the callbacks and
// enters the GLUT main loop, which does not return.
int runShow(int argc, char** argv, const ShowLoop& loop);

// One frame: clear, reset, the current scene, timers and limiter, swap.
void display();

// Viewport only; the projection's aspect stays 1.0 whatever the window.
void reshape(int width, int height);

// OpenGL's starting state, then the objects' set-up.
void init();
