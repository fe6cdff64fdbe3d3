#include "SceneViews.h"

#include <GL/gl.h>

#include <cmath>

#include "model/Light.h"
#include "show/ShowLights.h"

namespace {

void tumble(float t) {
    glRotatef(t, static_cast<float>(std::sin(t / 100.0)), static_cast<float>(std::cos(t / 500.0)),
              static_cast<float>(std::cos(t / 150.0)));
}

void checkerFloor() {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const float shade = (i + j) % 2 == 0 ? 0.35f : 0.12f;
            glColor3f(shade, shade * 0.9f, shade * 0.8f);
            const float x = -20.0f + 5.0f * i;
            const float z = -20.0f + 5.0f * j;
            glVertex3f(x, -20.0f, z);
            glVertex3f(x + 5.0f, -20.0f, z);
            glVertex3f(x + 5.0f, -20.0f, z + 5.0f);
            glVertex3f(x, -20.0f, z + 5.0f);
        }
    }
    glEnd();
    glPopAttrib();
}

}  // namespace

void showLights(Light& first, Light& second, bool firstOn) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setUpShowLights(first, second);
    if (firstOn) first.enable();
}

void boardView(float time, float rollAngle, float rollLift, bool floor) {
    glLoadIdentity();
    glRotatef(65.0f + rollAngle, 1, 0, 0);
    glTranslatef(0, rollLift, rollLift / 100.0f - 10.0f);
    glTranslatef(0, -20, 0);
    if (floor) {
        glPushMatrix();
        glRotatef(time, 0, 1, 0);
        glTranslatef(0, 18, 0);
        checkerFloor();
        glPopMatrix();
    }
    glScalef(0.2f, 0.2f, 0.2f);
    glRotatef(90, 0, 1, 0);
    glTranslatef(0, 18, -20);
}

void peasantsView(float time) {
    glLoadIdentity();
    tumble(time);
    glScalef(0.07f, 0.07f, 0.07f);
    glRotatef(90, 0, 1, 0);
    glTranslatef(0, 0, 10);
    tumble(time);
}

void shipView(float time) {
    glLoadIdentity();
    glTranslatef(0, 0, -100);
    tumble(time);
}

void speakerView(float side) {
    glLoadIdentity();
    glTranslatef(0, 0, -150);
    glTranslatef(40.0f * side, 0, 0);
}

void walkerView(float chase) {
    glLoadIdentity();
    glTranslatef(0, 0, -150);
    glTranslatef(0, -10, 160 - chase);
    glRotatef(90, 0, 0, 1);
    glRotatef(90, 0, 1, 0);
}
