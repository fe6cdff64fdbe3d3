#include "platform/webgl/Context.h"

#include <emscripten/html5.h>

#include <cstdio>

#include "platform/webgl/RasterState.h"
#include "platform/webgl/WebGl.h"
#include "platform/webgl/WebGlContext.h"

namespace mwgl {

Context& ctx() {
    static Context* context = new Context;  // never destroyed: GL calls may come from static destructors
    return *context;
}

namespace {

bool ready = false;

}  // namespace

void ensureWebGl() {
    if (ready) return;
    if (emscripten_webgl_get_current_context() == 0) {
        std::fprintf(stderr, "mwgl: a GL call before any WebGL context is current\n");
        return;
    }
    ready = true;
    Context& c = ctx();
    emscripten_glGetIntegerv(wgl::MAX_TEXTURE_SIZE, &c.maxTextureSize);
    int viewport[4] = {0, 0, 0, 0};
    emscripten_glGetIntegerv(0x0BA2 /* VIEWPORT */, viewport);
    for (int i = 0; i < 4; ++i) c.s.viewport[i] = c.s.scissor[i] = viewport[i];
    applyAllRasterState(c.s);
}

bool createCanvasContext(const char* selector, const CanvasOptions& options) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = options.alpha;
    attributes.depth = true;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.premultipliedAlpha = false;
    attributes.preserveDrawingBuffer = options.preserveDrawingBuffer;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(selector, &attributes);
    if (context <= 0) return false;
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    ensureWebGl();
    return true;
}

unsigned long long drawCallCount() { return ctx().batcher.drawCalls; }
unsigned programCount() { return static_cast<unsigned>(ctx().programs.count()); }

}  // namespace mwgl
