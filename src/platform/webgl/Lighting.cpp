// Lights, materials, the light model and colour material. Light positions
// and spot directions go into eye coordinates when they are given, under
// the modelview of that moment, as GL 1.1 keeps them.
#include <algorithm>
#include <array>

#include "platform/webgl/Context.h"

using namespace mwgl;

namespace mwgl {

void colorMaterialTakesCurrentColor() {
    AttribState& s = ctx().s;
    const unsigned props = colorMaterialBits(s.colorMaterialMode);
    const unsigned faces = faceBits(s.colorMaterialFace);
    for (int f = 0; f < 2; ++f) {
        if (!(faces & (1u << f))) continue;
        Material& m = s.materials[f];
        if (props & MatAmbient) m.ambient = s.color;
        if (props & MatDiffuse) m.diffuse = s.color;
        if (props & MatSpecular) m.specular = s.color;
        if (props & MatEmission) m.emission = s.color;
    }
}

}  // namespace mwgl

namespace {

int lightIndex(GLenum light) {
    return light >= GL_LIGHT0 && light < GL_LIGHT0 + kMaxLights ? static_cast<int>(light - GL_LIGHT0) : -1;
}

// How many values a light or material parameter has.
int lightValueCount(GLenum pname) {
    switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_POSITION:
        return 4;
    case GL_SPOT_DIRECTION:
        return 3;
    case GL_SPOT_EXPONENT:
    case GL_SPOT_CUTOFF:
    case GL_CONSTANT_ATTENUATION:
    case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION:
        return 1;
    default:
        return 0;
    }
}

int materialValueCount(GLenum pname) {
    switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE:
        return 4;
    case GL_SHININESS:
        return 1;
    default:
        return 0;
    }
}

unsigned materialBits(GLenum pname) {
    switch (pname) {
    case GL_AMBIENT:
        return MatAmbient;
    case GL_DIFFUSE:
        return MatDiffuse;
    case GL_SPECULAR:
        return MatSpecular;
    case GL_EMISSION:
        return MatEmission;
    case GL_SHININESS:
        return MatShininess;
    case GL_AMBIENT_AND_DIFFUSE:
        return MatAmbient | MatDiffuse;
    default:
        return 0;
    }
}

void setLight(GLenum light, GLenum pname, const GLfloat* params) {
    Context& c = ctx();
    const int i = lightIndex(light);
    const int n = lightValueCount(pname);
    if (i < 0 || n == 0) return c.setError(GL_INVALID_ENUM);
    Light l = c.s.lights[i];
    const Vec4 v{params[0], n > 1 ? params[1] : 0, n > 2 ? params[2] : 0, n > 3 ? params[3] : 0};
    switch (pname) {
    case GL_AMBIENT:
        l.ambient = v;
        break;
    case GL_DIFFUSE:
        l.diffuse = v;
        break;
    case GL_SPECULAR:
        l.specular = v;
        break;
    case GL_POSITION:
        l.position = c.currentModelview().transform(v);
        break;
    case GL_SPOT_DIRECTION:
        l.spotDirection = c.currentModelview().transformDirection({v[0], v[1], v[2]});
        break;
    case GL_SPOT_EXPONENT:
        if (v[0] < 0 || v[0] > 128) return c.setError(GL_INVALID_VALUE);
        l.spotExponent = v[0];
        break;
    case GL_SPOT_CUTOFF:
        if ((v[0] < 0 || v[0] > 90) && v[0] != 180) return c.setError(GL_INVALID_VALUE);
        l.spotCutoff = v[0];
        break;
    case GL_CONSTANT_ATTENUATION:
    case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION:
        if (v[0] < 0) return c.setError(GL_INVALID_VALUE);
        (pname == GL_CONSTANT_ATTENUATION ? l.constantAttenuation
         : pname == GL_LINEAR_ATTENUATION ? l.linearAttenuation
                                          : l.quadraticAttenuation) = v[0];
        break;
    }
    const Light& was = c.s.lights[i];
    if (was.ambient == l.ambient && was.diffuse == l.diffuse && was.specular == l.specular &&
        was.position == l.position && was.spotDirection == l.spotDirection && was.spotExponent == l.spotExponent &&
        was.spotCutoff == l.spotCutoff && was.constantAttenuation == l.constantAttenuation &&
        was.linearAttenuation == l.linearAttenuation && was.quadraticAttenuation == l.quadraticAttenuation) {
        return;
    }
    if (c.s.isOn(CapLight0 + i)) stateChanging();
    c.s.lights[i] = l;
    c.bump(GroupLights);
}

void setMaterial(GLenum face, GLenum pname, const GLfloat* params) {
    Context& c = ctx();
    const unsigned faces = faceBits(face);
    const unsigned props = materialBits(pname);
    if (faces == 0 || props == 0) return c.setError(GL_INVALID_ENUM);
    Material values;
    if (pname == GL_SHININESS) {
        if (params[0] < 0 || params[0] > 128) return c.setError(GL_INVALID_VALUE);
        values.shininess = params[0];
    } else {
        const Vec4 v{params[0], params[1], params[2], params[3]};
        values.ambient = values.diffuse = values.specular = values.emission = v;
    }
    if (c.lists.compiling()) return c.lists.material(faces, props, values);
    for (int f = 0; f < 2; ++f) {
        if (!(faces & (1u << f))) continue;
        Material& m = c.s.materials[f];
        if (props & MatAmbient) m.ambient = values.ambient;
        if (props & MatDiffuse) m.diffuse = values.diffuse;
        if (props & MatSpecular) m.specular = values.specular;
        if (props & MatEmission) m.emission = values.emission;
        if (props & MatShininess) m.shininess = values.shininess;
    }
    if (insideBeginEnd()) c.immediate.materialChanged();
}

}  // namespace

extern "C" {

void glLightf(GLenum light, GLenum pname, GLfloat param) {
    MWGL_RECORD(glLightf(light, pname, param));
    MWGL_NOT_IN_BEGIN_END();
    if (lightValueCount(pname) != 1) return ctx().setError(GL_INVALID_ENUM);
    setLight(light, pname, &param);
}

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    std::array<GLfloat, 4> v{};
    std::copy(params, params + std::max(lightValueCount(pname), 1), v.begin());
    MWGL_RECORD(glLightfv(light, pname, v.data()));
    MWGL_NOT_IN_BEGIN_END();
    setLight(light, pname, v.data());
}

void glGetLightfv(GLenum light, GLenum pname, GLfloat* params) {
    MWGL_NOT_IN_BEGIN_END();
    const int i = lightIndex(light);
    if (i < 0 || lightValueCount(pname) == 0) return ctx().setError(GL_INVALID_ENUM);
    const Light& l = ctx().s.lights[i];
    auto put = [&](const float* v, int n) { std::copy(v, v + n, params); };
    switch (pname) {
    case GL_AMBIENT:
        put(l.ambient.data(), 4);
        break;
    case GL_DIFFUSE:
        put(l.diffuse.data(), 4);
        break;
    case GL_SPECULAR:
        put(l.specular.data(), 4);
        break;
    case GL_POSITION:
        put(l.position.data(), 4);
        break;
    case GL_SPOT_DIRECTION:
        put(l.spotDirection.data(), 3);
        break;
    case GL_SPOT_EXPONENT:
        *params = l.spotExponent;
        break;
    case GL_SPOT_CUTOFF:
        *params = l.spotCutoff;
        break;
    case GL_CONSTANT_ATTENUATION:
        *params = l.constantAttenuation;
        break;
    case GL_LINEAR_ATTENUATION:
        *params = l.linearAttenuation;
        break;
    case GL_QUADRATIC_ATTENUATION:
        *params = l.quadraticAttenuation;
        break;
    }
}

void glLightModeli(GLenum pname, GLint param) {
    MWGL_RECORD(glLightModeli(pname, param));
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (pname != GL_LIGHT_MODEL_TWO_SIDE && pname != GL_LIGHT_MODEL_LOCAL_VIEWER) return c.setError(GL_INVALID_ENUM);
    bool& flag = pname == GL_LIGHT_MODEL_TWO_SIDE ? c.s.twoSide : c.s.localViewer;
    if (flag == (param != 0)) return;
    stateChanging();
    flag = param != 0;
}

void glLightModelfv(GLenum pname, const GLfloat* params) {
    Context& c = ctx();
    if (pname == GL_LIGHT_MODEL_TWO_SIDE || pname == GL_LIGHT_MODEL_LOCAL_VIEWER) {
        return glLightModeli(pname, params[0] != 0.0f);
    }
    const Vec4 v{params[0], params[1], params[2], params[3]};
    MWGL_RECORD(glLightModelfv(pname, v.data()));
    MWGL_NOT_IN_BEGIN_END();
    if (pname != GL_LIGHT_MODEL_AMBIENT) return c.setError(GL_INVALID_ENUM);
    if (c.s.sceneAmbient == v) return;
    stateChanging();
    c.s.sceneAmbient = v;
    c.bump(GroupLightModel);
}

void glMaterialf(GLenum face, GLenum pname, GLfloat param) {
    if (pname != GL_SHININESS) return ctx().setError(GL_INVALID_ENUM);
    setMaterial(face, pname, &param);
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    if (materialValueCount(pname) == 0) return ctx().setError(GL_INVALID_ENUM);
    setMaterial(face, pname, params);
}

void glGetMaterialfv(GLenum face, GLenum pname, GLfloat* params) {
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if ((face != GL_FRONT && face != GL_BACK) || materialValueCount(pname) == 0 || pname == GL_AMBIENT_AND_DIFFUSE) {
        return c.setError(GL_INVALID_ENUM);
    }
    const Material& m = c.s.materials[face == GL_FRONT ? 0 : 1];
    const Vec4* v = pname == GL_AMBIENT    ? &m.ambient
                    : pname == GL_DIFFUSE  ? &m.diffuse
                    : pname == GL_SPECULAR ? &m.specular
                    : pname == GL_EMISSION ? &m.emission
                                           : nullptr;
    if (v == nullptr) {
        *params = m.shininess;
    } else {
        std::copy(v->begin(), v->end(), params);
    }
}

void glColorMaterial(GLenum face, GLenum mode) {
    if (ctx().lists.compiling()) return ctx().lists.recordOpaque([=] { glColorMaterial(face, mode); });
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (faceBits(face) == 0 || colorMaterialBits(mode) == 0) return c.setError(GL_INVALID_ENUM);
    if (c.s.colorMaterialFace == face && c.s.colorMaterialMode == mode) return;
    if (c.s.isOn(CapColorMaterial)) stateChanging();
    c.s.colorMaterialFace = face;
    c.s.colorMaterialMode = mode;
    if (c.s.isOn(CapColorMaterial)) colorMaterialTakesCurrentColor();
}

}  // extern "C"
