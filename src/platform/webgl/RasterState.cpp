#include "platform/webgl/RasterState.h"

#include "platform/webgl/State.h"
#include "platform/webgl/WebGl.h"

namespace mwgl {

void applyCapability(int bit, bool on) {
    unsigned cap = 0;
    switch (bit) {
    case CapBlend:
        cap = wgl::BLEND;
        break;
    case CapCullFace:
        cap = wgl::CULL_FACE;
        break;
    case CapDepthTest:
        cap = wgl::DEPTH_TEST;
        break;
    case CapDither:
        cap = wgl::DITHER;
        break;
    case CapScissorTest:
        cap = wgl::SCISSOR_TEST;
        break;
    case CapPolygonOffsetFill:
        cap = wgl::POLYGON_OFFSET_FILL;
        break;
    default:
        return;
    }
    if (on) {
        emscripten_glEnable(cap);
    } else {
        emscripten_glDisable(cap);
    }
}

void applyAllRasterState(const AttribState& s) {
    for (int bit = 0; bit < CapCount; ++bit) applyCapability(bit, s.isOn(bit));
    emscripten_glBlendFunc(s.blendSrc, s.blendDst);
    emscripten_glDepthFunc(s.depthFunc);
    emscripten_glDepthMask(s.depthMask);
    emscripten_glCullFace(s.cullFace);
    emscripten_glFrontFace(s.frontFace);
    emscripten_glLineWidth(s.lineWidth);
    emscripten_glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
    emscripten_glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    emscripten_glScissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
}

}  // namespace mwgl
