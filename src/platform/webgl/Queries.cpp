// glGet: every state value by name, converted to the type asked for as GL
// 1.1 converts it.
#include <cmath>
#include <limits>

#include "platform/webgl/Context.h"

using namespace mwgl;

namespace {

enum class Kind { Boolean, Integer, Enum, Float, Color };

struct Values {
    Kind kind = Kind::Integer;
    int count = 0;
    double v[16] = {};
    void add(double x) { v[count++] = x; }
};

bool lookup(GLenum pname, Values& out) {
    const Context& c = ctx();
    const AttribState& s = c.s;
    auto many = [&](Kind kind, const float* v, int n) {
        out.kind = kind;
        for (int i = 0; i < n; ++i) out.add(v[i]);
    };
    auto one = [&](Kind kind, double x) {
        out.kind = kind;
        out.add(x);
    };
    const int bit = capabilityBit(pname);
    if (bit >= 0) {
        one(Kind::Boolean, s.isOn(bit));
        return true;
    }
    switch (pname) {
    case GL_CURRENT_COLOR:
        many(Kind::Color, s.color.data(), 4);
        break;
    case GL_CURRENT_NORMAL:
        many(Kind::Color, s.normal.data(), 3);
        break;
    case GL_CURRENT_TEXTURE_COORDS:
        many(Kind::Float, s.texCoord.data(), 4);
        break;
    case GL_LINE_WIDTH:
        one(Kind::Float, s.lineWidth);
        break;
    case GL_POLYGON_MODE:
        one(Kind::Enum, s.polygonMode[0]);
        out.add(s.polygonMode[1]);
        break;
    case GL_CULL_FACE_MODE:
        one(Kind::Enum, s.cullFace);
        break;
    case GL_FRONT_FACE:
        one(Kind::Enum, s.frontFace);
        break;
    case GL_LIGHT_MODEL_LOCAL_VIEWER:
        one(Kind::Boolean, s.localViewer);
        break;
    case GL_LIGHT_MODEL_TWO_SIDE:
        one(Kind::Boolean, s.twoSide);
        break;
    case GL_LIGHT_MODEL_AMBIENT:
        many(Kind::Color, s.sceneAmbient.data(), 4);
        break;
    case GL_SHADE_MODEL:
        one(Kind::Enum, s.shadeModel);
        break;
    case GL_COLOR_MATERIAL_FACE:
        one(Kind::Enum, s.colorMaterialFace);
        break;
    case GL_COLOR_MATERIAL_PARAMETER:
        one(Kind::Enum, s.colorMaterialMode);
        break;
    case GL_DEPTH_WRITEMASK:
        one(Kind::Boolean, s.depthMask);
        break;
    case GL_DEPTH_FUNC:
        one(Kind::Enum, s.depthFunc);
        break;
    case GL_MATRIX_MODE:
        one(Kind::Enum, s.matrixMode);
        break;
    case GL_VIEWPORT:
        out.kind = Kind::Integer;
        for (int v : s.viewport) out.add(v);
        break;
    case GL_SCISSOR_BOX:
        out.kind = Kind::Integer;
        for (int v : s.scissor) out.add(v);
        break;
    case GL_MODELVIEW_STACK_DEPTH:
        one(Kind::Integer, static_cast<double>(c.modelview.size()));
        break;
    case GL_PROJECTION_STACK_DEPTH:
        one(Kind::Integer, static_cast<double>(c.projection.size()));
        break;
    case GL_TEXTURE_STACK_DEPTH:
        one(Kind::Integer, static_cast<double>(c.textureMatrix.size()));
        break;
    case GL_ATTRIB_STACK_DEPTH:
        one(Kind::Integer, static_cast<double>(c.attribStack.size()));
        break;
    case GL_MODELVIEW_MATRIX:
        many(Kind::Float, c.modelview.back().m.data(), 16);
        break;
    case GL_PROJECTION_MATRIX:
        many(Kind::Float, c.projection.back().m.data(), 16);
        break;
    case GL_TEXTURE_MATRIX:
        many(Kind::Float, c.textureMatrix.back().m.data(), 16);
        break;
    case GL_ALPHA_TEST_FUNC:
        one(Kind::Enum, s.alphaFunc);
        break;
    case GL_ALPHA_TEST_REF:
        one(Kind::Color, s.alphaRef);
        break;
    case GL_BLEND_SRC:
        one(Kind::Enum, s.blendSrc);
        break;
    case GL_BLEND_DST:
        one(Kind::Enum, s.blendDst);
        break;
    case GL_COLOR_CLEAR_VALUE:
        many(Kind::Color, s.clearColor.data(), 4);
        break;
    case GL_UNPACK_ALIGNMENT:
        one(Kind::Integer, c.unpackAlignment);
        break;
    case GL_PACK_ALIGNMENT:
        one(Kind::Integer, c.packAlignment);
        break;
    case GL_MAX_LIGHTS:
        one(Kind::Integer, kMaxLights);
        break;
    case GL_MAX_TEXTURE_SIZE:
        one(Kind::Integer, c.maxTextureSize);
        break;
    case GL_MAX_ATTRIB_STACK_DEPTH:
        one(Kind::Integer, kMaxAttribStackDepth);
        break;
    case GL_MAX_MODELVIEW_STACK_DEPTH:
        one(Kind::Integer, kMaxModelviewDepth);
        break;
    case GL_MAX_PROJECTION_STACK_DEPTH:
        one(Kind::Integer, kMaxProjectionDepth);
        break;
    case GL_MAX_TEXTURE_STACK_DEPTH:
        one(Kind::Integer, kMaxTextureDepth);
        break;
    case GL_TEXTURE_BINDING_2D:
        one(Kind::Integer, s.boundTexture);
        break;
    default:
        return false;
    }
    return true;
}

template <typename T, typename Convert>
void get(GLenum pname, T* params, Convert convert) {
    MWGL_NOT_IN_BEGIN_END();
    Values values;
    if (!lookup(pname, values)) return ctx().setError(GL_INVALID_ENUM);
    for (int i = 0; i < values.count; ++i) params[i] = convert(values.kind, values.v[i]);
}

}  // namespace

extern "C" {

void glGetBooleanv(GLenum pname, GLboolean* params) {
    get(pname, params, [](Kind, double x) -> GLboolean { return x != 0.0 ? GL_TRUE : GL_FALSE; });
}

void glGetIntegerv(GLenum pname, GLint* params) {
    get(pname, params, [](Kind kind, double x) -> GLint {
        if (kind == Kind::Color) {
            // Colours and normals map [-1, 1] onto the whole range of GLint.
            const double max = std::numeric_limits<GLint>::max();
            const double scaled = x * max;
            if (scaled >= max) return std::numeric_limits<GLint>::max();
            if (scaled <= -max - 1) return std::numeric_limits<GLint>::min();
            return static_cast<GLint>(scaled);
        }
        return static_cast<GLint>(std::lround(x));
    });
}

void glGetFloatv(GLenum pname, GLfloat* params) {
    get(pname, params, [](Kind, double x) -> GLfloat { return static_cast<GLfloat>(x); });
}

}  // extern "C"
