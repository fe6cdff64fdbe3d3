// The four values of a colour or a homogeneous position, as OpenGL takes them.
#pragma once

#include <GL/gl.h>

inline void storeFour(GLfloat* target, float a, float b, float c, float d) {
    target[0] = a;
    target[1] = b;
    target[2] = c;
    target[3] = d;
}
