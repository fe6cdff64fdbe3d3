// The slow tumbling turn the scenes share: `t` degrees about an axis that
// wanders as t grows. OpenGL normalises the axis.
#pragma once

#include <GL/gl.h>

#include <cmath>

inline void applyTumble(float t) {
    const double time = t;
    glRotatef(t, static_cast<float>(std::sin(time / 100)), static_cast<float>(std::cos(time / 500)),
              static_cast<float>(std::cos(time / 150)));
}
