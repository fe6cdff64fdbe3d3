// The browser's window: the page's canvas with a WebGL context, drawn
// through the fixed-function layer (platform/webgl), its drawing buffer the
// canvas's displayed size in device pixels, and the page's animation frames
// as the loop. The browser build's counterpart of the GLUT window.
#pragma once

namespace platform {

struct CanvasSize {
    int width, height;
};

// Makes a WebGL context on the page's canvas (`selector`) and makes it
// current. `keepsItsPicture`: the last frame stays on the canvas after it is
// shown (for a page that is looked at, or read back, after drawing). False
// when the browser offers no WebGL.
bool openCanvas(const char* selector, bool keepsItsPicture);

// Sizes the drawing buffer to the canvas's displayed size in device pixels,
// so nothing is scaled, and returns it.
CanvasSize fitCanvasToPage(const char* selector);

// Calls `frame(user)` once for every animation frame of the page. Returns at
// once; the page's own loop calls back from then on.
void runAnimationFrames(void (*frame)(void* user), void* user);
void stopAnimationFrames();

}  // namespace platform
