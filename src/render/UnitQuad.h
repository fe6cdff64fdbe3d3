// The textured square from (0, 0) to (1, 1) that particles and glyphs are
// drawn as; callers scale and place it.
#pragma once

#include <GL/gl.h>

inline void drawTexturedUnitQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glEnd();
}
