// The texture environment and texture-coordinate generation. Eye planes go
// into eye coordinates when given, through the inverse of the modelview of
// that moment.
#include <algorithm>
#include <array>

#include "platform/webgl/Context.h"

using namespace mwgl;

namespace {

int coordIndex(GLenum coord) { return coord == GL_S ? 0 : coord == GL_T ? 1 : -1; }

bool isEnvMode(GLint mode) { return mode == GL_MODULATE || mode == GL_DECAL || mode == GL_REPLACE || mode == GL_BLEND; }

void setGenMode(GLenum coord, GLint mode) {
    Context& c = ctx();
    const int i = coordIndex(coord);
    if (i < 0) return c.setError(GL_INVALID_ENUM);
    if (mode != GL_EYE_LINEAR && mode != GL_SPHERE_MAP) return c.setError(GL_INVALID_ENUM);
    if (c.s.texGen[i].mode == static_cast<GLenum>(mode)) return;
    stateChanging();
    c.s.texGen[i].mode = static_cast<GLenum>(mode);
}

}  // namespace

extern "C" {

void glTexEnvi(GLenum target, GLenum pname, GLint param) {
    MWGL_RECORD(glTexEnvi(target, pname, param));
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE || !isEnvMode(param)) {
        return c.setError(GL_INVALID_ENUM);
    }
    if (c.s.texEnvMode == static_cast<GLenum>(param)) return;
    stateChanging();
    c.s.texEnvMode = static_cast<GLenum>(param);
}

void glGetTexEnviv(GLenum target, GLenum pname, GLint* params) {
    MWGL_NOT_IN_BEGIN_END();
    if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE) return ctx().setError(GL_INVALID_ENUM);
    *params = static_cast<GLint>(ctx().s.texEnvMode);
}

void glTexGeni(GLenum coord, GLenum pname, GLint param) {
    MWGL_RECORD(glTexGeni(coord, pname, param));
    MWGL_NOT_IN_BEGIN_END();
    if (pname != GL_TEXTURE_GEN_MODE) return ctx().setError(GL_INVALID_ENUM);
    setGenMode(coord, param);
}

void glTexGenfv(GLenum coord, GLenum pname, const GLfloat* params) {
    std::array<GLfloat, 4> v{};
    std::copy(params, params + (pname == GL_EYE_PLANE ? 4 : 1), v.begin());
    MWGL_RECORD(glTexGenfv(coord, pname, v.data()));
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (pname == GL_TEXTURE_GEN_MODE) return setGenMode(coord, static_cast<GLint>(v[0]));
    const int i = coordIndex(coord);
    if (i < 0 || pname != GL_EYE_PLANE) return c.setError(GL_INVALID_ENUM);
    // The plane as a row vector times the inverse modelview.
    const Mat4 inverse = c.currentModelview().inverse();
    Vec4 plane;
    for (int column = 0; column < 4; ++column) {
        plane[column] = v[0] * inverse.at(0, column) + v[1] * inverse.at(1, column) + v[2] * inverse.at(2, column) +
                        v[3] * inverse.at(3, column);
    }
    if (c.s.texGen[i].eyePlane == plane) return;
    stateChanging();
    c.s.texGen[i].eyePlane = plane;
    c.bump(GroupTexGen);
}

void glGetTexGeniv(GLenum coord, GLenum pname, GLint* params) {
    MWGL_NOT_IN_BEGIN_END();
    const int i = coordIndex(coord);
    if (i < 0 || pname != GL_TEXTURE_GEN_MODE) return ctx().setError(GL_INVALID_ENUM);
    *params = static_cast<GLint>(ctx().s.texGen[i].mode);
}

}  // extern "C"
