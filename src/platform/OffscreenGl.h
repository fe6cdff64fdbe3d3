// An OpenGL context with no window and no X server: Mesa through an EGL
// pbuffer on the surfaceless platform. The capture draws the show into it,
// and the tests draw into it too. It is current on the thread that made it.
//
// It may have more than one pbuffer, all alike, to draw into one while
// another is read: pbuffers, unlike framebuffer objects, are drawn exactly
// as a window is (Mesa draws window-system buffers upside down, which moves
// the odd pixel on an edge), so every one of them gives the same pixels.
#pragma once

#include <memory>
#include <stdexcept>

namespace platform {

class OffscreenGl {
public:
    // `surfaces` pbuffers of width x height, the first current for drawing
    // and reading. Throws std::runtime_error naming the EGL step that failed.
    OffscreenGl(int width, int height, int surfaces = 1);
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    // Draws into pbuffer `draw` from here on; glReadPixels reads `read`.
    void use(int draw, int read);

    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Egl;
    std::unique_ptr<Egl> egl_;
    int width_;
    int height_;
};

}  // namespace platform
