#include "screen/PlayerOverlay.h"

#include <GL/gl.h>

#include "platform/GlutWindow.h"

namespace {

constexpr int kLineHeight = 15;
constexpr int kMargin = 8;
constexpr int kPanelWidth = 300;

}  // namespace

void drawPlayerOverlay(const std::vector<std::string>& lines) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const int height = static_cast<int>(lines.size()) * kLineHeight + 2 * kMargin;
    const int top = viewport[3] - kMargin;
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glBegin(GL_QUADS);
    glVertex2i(kMargin, top - height);
    glVertex2i(kMargin + kPanelWidth, top - height);
    glVertex2i(kMargin + kPanelWidth, top);
    glVertex2i(kMargin, top);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    int y = top - kMargin - kLineHeight + 3;
    for (const std::string& line : lines) {
        platform::drawText(2 * kMargin, y, line.c_str());
        y -= kLineHeight;
    }

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
