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

namespace testsupport {

class GlContext {
public:
    GlContext(int width, int height);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Egl;
    std::unique_ptr<Egl> egl_;
    int width_;
    int height_;
};

using Rgba = std::array<std::uint8_t, 4>;

// Pixel in window coordinates with y growing downwards (row 0 is the top of
// the picture, as on screen), read from the current read buffer.
Rgba pixelAt(int x, int y, int frameHeight = 480);

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

    // The projection and modelview the show sets on a reshape to 640x480.
    static void setShowProjection();

private:
    std::unique_ptr<GlContext> context_;
};

}  // namespace testsupport
