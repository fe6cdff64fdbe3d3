// The GLU the browser edition has: what the WebGL layer implements of it.
#ifndef MARROWICK_WEBGL_GLU_H
#define MARROWICK_WEBGL_GLU_H

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

#define GLU_INVALID_ENUM 100900
#define GLU_INVALID_VALUE 100901

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* data);

#ifdef __cplusplus
}
#endif

#endif
