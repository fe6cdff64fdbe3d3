#include "GlContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glu.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace testsupport {

struct GlContext::Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

EGLDisplay surfacelessDisplay() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) throw std::runtime_error("EGL: no eglGetPlatformDisplayEXT");
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) throw std::runtime_error("EGL: no surfaceless display");
    if (!eglInitialize(display, nullptr, nullptr)) throw std::runtime_error("EGL: initialise failed");
    return display;
}

}  // namespace

GlContext::GlContext(int width, int height) : egl_(std::make_unique<Egl>()), width_(width), height_(height) {
    egl_->display = surfacelessDisplay();
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                       EGL_DEPTH_SIZE, 24, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(egl_->display, configAttributes, &config, 1, &count) || count == 0) {
        throw std::runtime_error("EGL: no RGBA8 + depth pbuffer config");
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    egl_->surface = eglCreatePbufferSurface(egl_->display, config, surfaceAttributes);
    if (egl_->surface == EGL_NO_SURFACE) throw std::runtime_error("EGL: pbuffer failed");
    eglBindAPI(EGL_OPENGL_API);
    egl_->context = eglCreateContext(egl_->display, config, EGL_NO_CONTEXT, nullptr);
    if (egl_->context == EGL_NO_CONTEXT) throw std::runtime_error("EGL: context failed");
    if (!eglMakeCurrent(egl_->display, egl_->surface, egl_->surface, egl_->context)) {
        throw std::runtime_error("EGL: make current failed");
    }
    glViewport(0, 0, width, height);
}

GlContext::~GlContext() {
    eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(egl_->display, egl_->context);
    eglDestroySurface(egl_->display, egl_->surface);
    // The display stays initialised: other contexts of this process reuse it.
}

Rgba pixelAt(int x, int y, int frameHeight) {
    Rgba pixel{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, frameHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
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

void GlTest::setShowProjection() {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(65.0, 1.0, 1.5, 2000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace testsupport
