// Where the layer draws: a WebGL 2 context on a canvas. The browser front
// end makes it once, before the first GL call; the GL 1.1 entry points then
// draw into it.
#pragma once

namespace mwgl {

struct CanvasOptions {
    // Keeps the drawn frame after it is shown, for reading it back (tests).
    bool preserveDrawingBuffer = false;
    // Off, as a GL 1.1 window has none: the canvas is opaque, not blended
    // with the page.
    bool alpha = false;
};

// Makes a WebGL 2 context on the canvas the CSS selector names and makes it
// current; false when the browser gives none.
bool createCanvasContext(const char* selector, const CanvasOptions& options = {});

// The number of WebGL draw calls and of shader programs made so far.
unsigned long long drawCallCount();
unsigned programCount();

}  // namespace mwgl
