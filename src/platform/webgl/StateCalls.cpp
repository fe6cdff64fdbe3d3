// Enables and the per-fragment and frame state: blending, the alpha and
// depth tests, culling, polygon modes, clearing, the viewport and scissor
// box, pixel storage, reading pixels back and errors.
#include <algorithm>

#include "platform/webgl/Context.h"
#include "platform/webgl/RasterState.h"
#include "platform/webgl/WebGl.h"

using namespace mwgl;

namespace mwgl {
void colorMaterialTakesCurrentColor();  // Lighting.cpp
}

namespace {

void setEnabled(GLenum cap, bool on) {
    Context& c = ctx();
    const int bit = capabilityBit(cap);
    if (bit < 0) return c.setError(GL_INVALID_ENUM);
    if (c.s.isOn(bit) == on) return;
    stateChanging();
    if (on) {
        c.s.enabled |= 1u << bit;
    } else {
        c.s.enabled &= ~(1u << bit);
    }
    if (bit >= CapLight0 && bit < CapLight0 + kMaxLights) c.bump(GroupLights);
    if (bit == CapColorMaterial && on) colorMaterialTakesCurrentColor();
    applyCapability(bit, on);
}

bool isComparison(GLenum f) { return f >= GL_NEVER && f <= GL_ALWAYS; }

bool isSourceFactor(GLenum f) {
    return f == GL_ZERO || f == GL_ONE || (f >= GL_SRC_COLOR && f <= GL_SRC_ALPHA_SATURATE);
}

bool isDestinationFactor(GLenum f) {
    return f == GL_ZERO || f == GL_ONE || (f >= GL_SRC_COLOR && f <= GL_ONE_MINUS_DST_COLOR);
}

bool isFace(GLenum f) { return f == GL_FRONT || f == GL_BACK || f == GL_FRONT_AND_BACK; }

}  // namespace

extern "C" {

void glEnable(GLenum cap) {
    if (ctx().lists.compiling()) {
        if (cap == GL_COLOR_MATERIAL) return ctx().lists.recordOpaque([=] { glEnable(cap); });
        return ctx().lists.record([=] { glEnable(cap); });
    }
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    setEnabled(cap, true);
}

void glDisable(GLenum cap) {
    if (ctx().lists.compiling()) {
        if (cap == GL_COLOR_MATERIAL) return ctx().lists.recordOpaque([=] { glDisable(cap); });
        return ctx().lists.record([=] { glDisable(cap); });
    }
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    setEnabled(cap, false);
}

GLboolean glIsEnabled(GLenum cap) {
    MWGL_NOT_IN_BEGIN_END(GL_FALSE);
    const int bit = capabilityBit(cap);
    if (bit < 0) {
        ctx().setError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
    return ctx().s.isOn(bit) ? GL_TRUE : GL_FALSE;
}

GLenum glGetError(void) {
    MWGL_NOT_IN_BEGIN_END(GL_INVALID_OPERATION);
    Context& c = ctx();
    const GLenum e = c.error;
    c.error = GL_NO_ERROR;
    return e;
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    MWGL_RECORD(glBlendFunc(sfactor, dfactor));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (!isSourceFactor(sfactor) || !isDestinationFactor(dfactor)) return c.setError(GL_INVALID_ENUM);
    if (c.s.blendSrc == sfactor && c.s.blendDst == dfactor) return;
    stateChanging();
    c.s.blendSrc = sfactor;
    c.s.blendDst = dfactor;
    emscripten_glBlendFunc(sfactor, dfactor);
}

void glAlphaFunc(GLenum func, GLclampf ref) {
    MWGL_RECORD(glAlphaFunc(func, ref));
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (!isComparison(func)) return c.setError(GL_INVALID_ENUM);
    ref = std::clamp(ref, 0.0f, 1.0f);
    if (c.s.alphaFunc == func && c.s.alphaRef == ref) return;
    stateChanging();
    c.s.alphaFunc = func;
    c.s.alphaRef = ref;
    c.bump(GroupAlphaRef);
}

void glDepthFunc(GLenum func) {
    MWGL_RECORD(glDepthFunc(func));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (!isComparison(func)) return c.setError(GL_INVALID_ENUM);
    if (c.s.depthFunc == func) return;
    stateChanging();
    c.s.depthFunc = func;
    emscripten_glDepthFunc(func);
}

void glDepthMask(GLboolean flag) {
    MWGL_RECORD(glDepthMask(flag));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    const bool on = flag != GL_FALSE;
    if (c.s.depthMask == on) return;
    stateChanging();
    c.s.depthMask = on;
    emscripten_glDepthMask(on);
}

void glCullFace(GLenum mode) {
    MWGL_RECORD(glCullFace(mode));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (!isFace(mode)) return c.setError(GL_INVALID_ENUM);
    if (c.s.cullFace == mode) return;
    stateChanging();
    c.s.cullFace = mode;
    emscripten_glCullFace(mode);
}

void glFrontFace(GLenum mode) {
    MWGL_RECORD(glFrontFace(mode));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (mode != GL_CW && mode != GL_CCW) return c.setError(GL_INVALID_ENUM);
    if (c.s.frontFace == mode) return;
    stateChanging();
    c.s.frontFace = mode;
    emscripten_glFrontFace(mode);
}

void glPolygonMode(GLenum face, GLenum mode) {
    MWGL_RECORD(glPolygonMode(face, mode));
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (!isFace(face) || (mode != GL_LINE && mode != GL_FILL)) return c.setError(GL_INVALID_ENUM);
    const unsigned faces = faceBits(face);
    const bool same = (!(faces & 1) || c.s.polygonMode[0] == mode) && (!(faces & 2) || c.s.polygonMode[1] == mode);
    if (same) return;
    stateChanging();
    if (faces & 1) c.s.polygonMode[0] = mode;
    if (faces & 2) c.s.polygonMode[1] = mode;
}

void glShadeModel(GLenum mode) {
    MWGL_RECORD(glShadeModel(mode));
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (mode != GL_FLAT && mode != GL_SMOOTH) return c.setError(GL_INVALID_ENUM);
    if (c.s.shadeModel == mode) return;
    stateChanging();
    c.s.shadeModel = mode;
}

void glLineWidth(GLfloat width) {
    MWGL_RECORD(glLineWidth(width));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (width <= 0) return c.setError(GL_INVALID_VALUE);
    if (c.s.lineWidth == width) return;
    stateChanging();
    c.s.lineWidth = width;
    emscripten_glLineWidth(width);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    MWGL_RECORD(glClearColor(red, green, blue, alpha));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    const Vec4 color{std::clamp(red, 0.0f, 1.0f), std::clamp(green, 0.0f, 1.0f), std::clamp(blue, 0.0f, 1.0f),
                     std::clamp(alpha, 0.0f, 1.0f)};
    if (c.s.clearColor == color) return;
    c.s.clearColor = color;
    emscripten_glClearColor(color[0], color[1], color[2], color[3]);
}

void glClear(GLbitfield mask) {
    MWGL_RECORD(glClear(mask));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    if (mask & ~static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) {
        return ctx().setError(GL_INVALID_VALUE);
    }
    stateChanging();
    emscripten_glClear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    MWGL_RECORD(glViewport(x, y, width, height));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (width < 0 || height < 0) return c.setError(GL_INVALID_VALUE);
    int* v = c.s.viewport;
    if (v[0] == x && v[1] == y && v[2] == width && v[3] == height) return;
    stateChanging();
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
    emscripten_glViewport(x, y, width, height);
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    MWGL_RECORD(glScissor(x, y, width, height));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (width < 0 || height < 0) return c.setError(GL_INVALID_VALUE);
    int* v = c.s.scissor;
    if (v[0] == x && v[1] == y && v[2] == width && v[3] == height) return;
    stateChanging();
    v[0] = x, v[1] = y, v[2] = width, v[3] = height;
    emscripten_glScissor(x, y, width, height);
}

void glPixelStorei(GLenum pname, GLint param) {
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (pname != GL_UNPACK_ALIGNMENT && pname != GL_PACK_ALIGNMENT) return c.setError(GL_INVALID_ENUM);
    if (param != 1 && param != 2 && param != 4 && param != 8) return c.setError(GL_INVALID_VALUE);
    (pname == GL_UNPACK_ALIGNMENT ? c.unpackAlignment : c.packAlignment) = param;
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels) {
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (format != GL_RGBA || type != GL_UNSIGNED_BYTE) return c.setError(GL_INVALID_ENUM);
    if (width < 0 || height < 0) return c.setError(GL_INVALID_VALUE);
    stateChanging();
    emscripten_glPixelStorei(wgl::PACK_ALIGNMENT, c.packAlignment);
    emscripten_glReadPixels(x, y, width, height, wgl::RGBA, wgl::UNSIGNED_BYTE, pixels);
}

void glFlush(void) {
    MWGL_NOT_IN_BEGIN_END();
    stateChanging();
    emscripten_glFlush();
}

void glFinish(void) {
    MWGL_NOT_IN_BEGIN_END();
    stateChanging();
    emscripten_glFinish();
}

}  // extern "C"
