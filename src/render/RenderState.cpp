#include "render/RenderState.h"

#include <GL/gl.h>

#include "render/Material.h"

void enter2D(int left, int top, int right, int bottom) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(left, right, bottom, top, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void leave2D() {
    glMatrixMode(GL_PROJECTION);
    // The reset runs every frame whether or not an overlay is active; only
    // pop what an overlay pushed, so the perspective projection stays.
    GLint depth = 1;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    if (depth > 1) glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void resetRenderState() {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_FILL);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    leave2D();
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    defaultMaterial().apply();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

Material& defaultMaterial() {
    static Material material;
    return material;
}
