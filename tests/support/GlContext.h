// A real OpenGL context for tests: Mesa through an EGL pbuffer on the
// surfaceless platform, so no X server is needed. GlTest gives every test a
// fresh 640x480 context and saves a PNG of the frame when a test fails.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/OffscreenGl.h"

namespace testsupport {

// The show's own off-screen context, with the viewport over all of it.
class GlContext {
public:
    GlContext(int width, int height);

    int width() const { return gl_.width(); }
    int height() const { return gl_.height(); }

private:
    platform::OffscreenGl gl_;
};

using Rgba = std::array<std::uint8_t, 4>;

// Pixel in window coordinates with y growing downwards (row 0 is the top of
// the picture, as on screen), read from the current read buffer.
Rgba pixelAt(int x, int y, int frameHeight = 480);

// Where a point of the current modelview frame lands in the window, y down.
std::array<int, 2> projected(float x, float y, float z, int frameHeight = 480);

// The current projection or modelview matrix.
std::array<GLfloat, 16> glMatrix(GLenum which);

// The whole frame, top row first, RGBA.
std::vector<std::uint8_t> readFrame(int width, int height);

// Writes the current frame as a PNG; returns the path written.
std::string saveFramePng(const std::string& path, int width, int height);

class GlTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    void SetUp() override;
    void TearDown() override;

    // The show's own reshape to 640x480: its projection, and the modelview it
    // starts every frame from.
    static void setShowProjection();
    // That view over a frame cleared to black, depth included.
    static void clearShowView();

private:
    std::unique_ptr<GlContext> context_;
};

}  // namespace testsupport
