#include "platform/OffscreenGl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <vector>

namespace platform {

struct OffscreenGl::Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    std::vector<EGLSurface> surfaces;
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

OffscreenGl::OffscreenGl(int width, int height, int surfaces)
    : egl_(std::make_unique<Egl>()), width_(width), height_(height) {
    egl_->display = surfacelessDisplay();
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       24,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(egl_->display, configAttributes, &config, 1, &count) || count == 0) {
        throw std::runtime_error("EGL: no RGBA8 + depth pbuffer config");
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    for (int i = 0; i < surfaces; ++i) {
        egl_->surfaces.push_back(eglCreatePbufferSurface(egl_->display, config, surfaceAttributes));
        if (egl_->surfaces.back() == EGL_NO_SURFACE) throw std::runtime_error("EGL: pbuffer failed");
    }
    eglBindAPI(EGL_OPENGL_API);
    egl_->context = eglCreateContext(egl_->display, config, EGL_NO_CONTEXT, nullptr);
    if (egl_->context == EGL_NO_CONTEXT) throw std::runtime_error("EGL: context failed");
    use(0, 0);
}

void OffscreenGl::use(int draw, int read) {
    const std::vector<EGLSurface>& surfaces = egl_->surfaces;
    if (!eglMakeCurrent(egl_->display, surfaces.at(static_cast<std::size_t>(draw)),
                        surfaces.at(static_cast<std::size_t>(read)), egl_->context)) {
        throw std::runtime_error("EGL: make current failed");
    }
}

OffscreenGl::~OffscreenGl() {
    eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(egl_->display, egl_->context);
    for (EGLSurface surface : egl_->surfaces) eglDestroySurface(egl_->display, surface);
    // The display stays initialised: other contexts of this process reuse it.
}

}  // namespace platform
