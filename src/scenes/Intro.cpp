#include "scenes/Intro.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "music/Cues.h"
#include "music/Music.h"
#include "platform/DataFiles.h"
#include "render/RenderState.h"
#include "render/Texture.h"
#include "text/TileFont.h"

namespace {

constexpr float kStripWidth = 640.0f / 3.5f;
constexpr float kStripStep = 10.0f;

}  // namespace

void IntroScene::drawLogoStrip() {
    enter2D(0, 480, 640, 0);  // y grows upward here
    glTranslatef(stripX, 0, 0);
    glDisable(GL_LIGHTING);
    cast.logo.bind();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(0, 0);
    glTexCoord2f(1, 1);
    glVertex2f(kStripWidth, 0);
    glTexCoord2f(1, 0);
    glVertex2f(kStripWidth, 480);
    glTexCoord2f(0, 0);
    glVertex2f(0, 480);
    glEnd();
    leave2D();

    stripX += kStripStep;
    if (stripX >= 0.0f) stripX = 0.0f;
}

void IntroScene::introInit() { cast.logo.setFormat(TextureFormat::Jpg); }

void IntroScene::introRun() {
    if (chessStarted) cast.chessRun();
    glLoadIdentity();

    cast.font14.print(foundationLine, 200, 0);
    const int presentsY = static_cast<int>(std::sin(static_cast<double>(frameTime) / 50.0) * 100.0 + 50.0);
    cast.font14.print(presentsLine, 200, presentsY);

    drawLogoStrip();
    frameTime += 0.7f;

    const char* tag = cast.music.getTag();
    if (std::strcmp(tag, cue::kIntro01) == 0) {
        chessStarted = true;
        cast.logo.load(platform::files::kLogoJpg.name);
    } else if (std::strcmp(tag, cue::kIntro02) == 0) {
        titlesShown = true;
    }

    if (titlesShown) {
        // Stays in force: from the next frame on, the lines above are this size too.
        cast.font14.setGlyphSize(30, 30);
        const double s = std::sin(static_cast<double>(frameTime) / 20.0);
        cast.font14.print(groupName, static_cast<int>(s * 100.0 + 200.0), static_cast<int>(s * 100.0 + 100.0));
        cast.font14.print(groupNameEcho, static_cast<int>(s * 100.0 + 190.625), static_cast<int>(s * 100.0 + 70.0));
    }
}
