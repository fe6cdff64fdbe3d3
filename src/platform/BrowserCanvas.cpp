#include "platform/BrowserCanvas.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

namespace platform {

bool openCanvas(const char* selector, bool keepsItsPicture) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;  // the show's edges are its own, as on the desktop
    attributes.alpha = EM_FALSE;
    attributes.preserveDrawingBuffer = keepsItsPicture ? EM_TRUE : EM_FALSE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(selector, &attributes);
    if (context <= 0) return false;
    return emscripten_webgl_make_context_current(context) == EMSCRIPTEN_RESULT_SUCCESS;
}

CanvasSize fitCanvasToPage(const char* selector) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(selector, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int width = static_cast<int>(cssWidth * ratio + 0.5);
    const int height = static_cast<int>(cssHeight * ratio + 0.5);
    int now[2] = {0, 0};
    emscripten_get_canvas_element_size(selector, &now[0], &now[1]);
    if (width > 0 && height > 0 && (now[0] != width || now[1] != height)) {
        emscripten_set_canvas_element_size(selector, width, height);
    }
    emscripten_get_canvas_element_size(selector, &now[0], &now[1]);
    return {now[0], now[1]};
}

void runAnimationFrames(void (*frame)(void* user), void* user) { emscripten_set_main_loop_arg(frame, user, 0, 0); }

void stopAnimationFrames() { emscripten_cancel_main_loop(); }

}  // namespace platform
