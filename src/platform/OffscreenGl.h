// An OpenGL context with no window and no X server: Mesa through an EGL
// pbuffer on the surfaceless platform. The capture draws the show into it,
// and the tests draw into it too. It is current on the thread that made it.
#pragma once

#include <memory>
#include <stdexcept>

namespace platform {

class OffscreenGl {
public:
    // Throws std::runtime_error naming the EGL step that failed.
    OffscreenGl(int width, int height);
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Egl;
    std::unique_ptr<Egl> egl_;
    int width_;
    int height_;
};

}  // namespace platform
