#include "platform/GlutWindow.h"

#include <GL/freeglut.h>

#include "platform/SwapControl.h"

namespace platform {
namespace {

// GLUT calls back without a user pointer and has one window: the process's
// one window keeps what it calls here.
WindowCallbacks current;
bool fullScreen = false;

SpecialKey specialKey(int key) {
    switch (key) {
    case GLUT_KEY_LEFT:
        return SpecialKey::Left;
    case GLUT_KEY_RIGHT:
        return SpecialKey::Right;
    case GLUT_KEY_PAGE_UP:
        return SpecialKey::PageUp;
    case GLUT_KEY_PAGE_DOWN:
        return SpecialKey::PageDown;
    case GLUT_KEY_HOME:
        return SpecialKey::Home;
    default:
        return SpecialKey::Other;
    }
}

void frame() { current.frame(current.user); }
void reshape(int width, int height) { current.reshape(current.user, width, height); }
void key(unsigned char key, int, int) {
    if (current.key != nullptr) current.key(current.user, key);
}
void special(int key, int, int) { current.special(current.user, specialKey(key)); }

}  // namespace

void openWindow(int& argc, char** argv, const WindowSettings& settings) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(settings.width, settings.height);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Marrowick");
    // In a window the pointer may well pass over the show on its way elsewhere.
    fullScreen = settings.fullScreen;
    if (settings.fullScreen) {
        glutFullScreen();
        glutSetCursor(GLUT_CURSOR_NONE);
    }
    if (settings.unsyncedSwaps) requestUnsyncedSwaps();
}

void runWindow(const WindowCallbacks& callbacks) {
    current = callbacks;
    glutDisplayFunc(frame);
    glutReshapeFunc(reshape);
    // Registered even when it ignores every key, as the show always has.
    glutKeyboardFunc(key);
    if (current.special != nullptr) glutSpecialFunc(special);
    glutIdleFunc(frame);
    glutMainLoop();
}

void presentFrame() { glutSwapBuffers(); }

void setRunningFreely(bool freely) { glutIdleFunc(freely ? frame : nullptr); }

void requestRedraw() { glutPostRedisplay(); }

void toggleFullScreen() {
    glutFullScreenToggle();
    fullScreen = !fullScreen;
    glutSetCursor(fullScreen ? GLUT_CURSOR_NONE : GLUT_CURSOR_INHERIT);
}

void drawText(int x, int y, const char* text) {
    glRasterPos2i(x, y);
    glutBitmapString(GLUT_BITMAP_8_BY_13, reinterpret_cast<const unsigned char*>(text));
}

}  // namespace platform
