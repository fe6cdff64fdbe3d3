#include "GlContext.h"

#include <GL/glu.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "show/View.h"

namespace testsupport {

GlContext::GlContext(int width, int height) : gl_(width, height) { glViewport(0, 0, width, height); }

Rgba pixelAt(int x, int y, int frameHeight) {
    Rgba pixel{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, frameHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

std::array<int, 2> projected(float x, float y, float z, int frameHeight) {
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0, wy = 0, wz = 0;
    gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz);
    return {static_cast<int>(wx), frameHeight - 1 - static_cast<int>(wy)};
}

std::array<GLfloat, 16> glMatrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

std::vector<std::uint8_t> readFrame(int width, int height) {
    std::vector<std::uint8_t> bottomUp(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::copy_n(&bottomUp[(height - 1 - y) * row], row, &topDown[y * row]);
    }
    return topDown;
}

std::string saveFramePng(const std::string& path, int width, int height) {
    const std::vector<std::uint8_t> frame = readFrame(width, height);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, frame.data(), 0, nullptr)) {
        throw std::runtime_error("PNG: cannot write " + path);
    }
    return path;
}

void GlTest::SetUp() { context_ = std::make_unique<GlContext>(kWidth, kHeight); }

void GlTest::TearDown() {
    if (HasFailure()) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(info->test_suite_name()) + "." + info->name();
        const std::string written = saveFramePng("test-screenshots/" + name + ".png", kWidth, kHeight);
        std::printf("frame saved to %s\n", written.c_str());
    }
    context_.reset();
}

void GlTest::setShowProjection() { reshape(kWidth, kHeight); }

void GlTest::clearShowView() {
    setShowProjection();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace testsupport
