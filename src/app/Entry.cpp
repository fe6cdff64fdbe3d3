#include "app/Entry.h"

#include <GL/glut.h>

#include <cstdint>

#include "app/FrameLog.h"
#include "app/Sequencer.h"
#include "audio/AudioStream.h"
#include "platform/SwapControl.h"
#include "platform/Ticks.h"
#include "render/RenderState.h"

namespace {

const ShowLoop* current = nullptr;

void ignoreKey(unsigned char, int, int) {}

// Music with no sound device to pace it (muted, or its device went away in
// mid-show) moves on here: each frame plays, silently, the time that has
// passed since the one before, so the cues it passes are pending when this
// frame's scene reads them, as they would be live. With a device playing,
// this only checks that it is still there.
std::uint32_t musicMovedAt = 0;

FrameLog* frameLog = nullptr;  // only with --timings

void displayOnOwnClock() {
    const std::uint32_t now = platform::tickCount();
    audio::advanceOfflineStreams(now - musicMovedAt);
    musicMovedAt = now;
    const std::int32_t section = sceneState;
    display();
    if (frameLog) frameLog->frameShown(section);
}

}  // namespace

void setShowLoop(const ShowLoop& loop) { current = &loop; }

int runShow(int argc, char** argv, const ShowLoop& loop, const LiveOptions& live, FrameLog* log) {
    setShowLoop(loop);
    frameLog = log;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(live.width, live.height);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Marrowick");
    // In a window the pointer may well pass over the show on its way elsewhere.
    if (!live.window) {
        glutFullScreen();
        glutSetCursor(GLUT_CURSOR_NONE);
    }
    if (!live.vsync) platform::requestUnsyncedSwaps();
    init();
    musicMovedAt = platform::tickCount();  // init() has just started the music
    glutDisplayFunc(displayOnOwnClock);
    glutReshapeFunc(live.keepAspect ? reshapeKeepingAspect : reshape);
    glutKeyboardFunc(ignoreKey);
    glutIdleFunc(displayOnOwnClock);
    glutMainLoop();
    return 0;
}

void init() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    current->setUp();
}

void display() {
    drawFrame();
    glutSwapBuffers();
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    resetRenderState();
    runScene(current->scenes);
    endFrame(current->clocks);
}

void reshape(int width, int height) { reshapeOnto({0, 0, width, height}); }

void reshapeKeepingAspect(int width, int height) { reshapeOnto(centredFourByThree(width, height)); }

ViewportArea centredFourByThree(int width, int height) {
    // Integer arithmetic, so 4:3 frames are filled to the last pixel.
    if (width * 3 > height * 4) {
        const int areaWidth = height * 4 / 3;
        return {(width - areaWidth) / 2, 0, areaWidth, height};
    }
    const int areaHeight = width * 3 / 4;
    return {0, (height - areaHeight) / 2, width, areaHeight};
}

void reshapeOnto(const ViewportArea& area) {
    glViewport(area.x, area.y, area.width, area.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(65.0, 1.0, 1.5, 2000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, 10.0f);
}
