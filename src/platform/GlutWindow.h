// The show's window on a display, through GLUT: one of the two places its
// frames go (the other is the off-screen context of OffscreenGl.h). The
// window is made first; the caller then sets up what it draws, and hands
// over to GLUT's loop, which calls back for every frame.
#pragma once

namespace platform {

struct WindowSettings {
    int width = 640;  // asked for when the window is made
    int height = 480;
    bool fullScreen = true;     // full screen, pointer hidden
    bool unsyncedSwaps = true;  // ask the driver not to hold swaps for the refresh
};

// The keys the player reads beyond plain characters.
enum class SpecialKey { Left, Right, PageUp, PageDown, Home, Other };

// Each callback is handed `user`, so whoever runs the window finds itself
// there.
struct WindowCallbacks {
    void* user = nullptr;
    void (*frame)(void* user) = nullptr;  // draws and shows one frame: when the window must be drawn, and when idle
    void (*reshape)(void* user, int width, int height) = nullptr;
    void (*key)(void* user, unsigned char key) = nullptr;   // null: every key is ignored
    void (*special)(void* user, SpecialKey key) = nullptr;  // null: such keys are ignored
};

// GLUT takes its own arguments (-display, -geometry) out of argc/argv.
void openWindow(int& argc, char** argv, const WindowSettings& settings);

// Registers the callbacks and enters GLUT's loop, which ends the process
// itself when the window closes.
void runWindow(const WindowCallbacks& callbacks);

// Shows the frame just drawn.
void presentFrame();

// Whether the frame callback runs whenever GLUT has nothing else to do, or
// only when the window must be drawn again: a still picture costs nothing.
void setRunningFreely(bool freely);
// Asks for one call of the frame callback, as when the window is uncovered.
void requestRedraw();
void toggleFullScreen();

// One line of text in a plain bitmap font, the left end of its baseline at
// window pixel (x, y) counted from the bottom left, in the current colour.
void drawText(int x, int y, const char* text);

}  // namespace platform
