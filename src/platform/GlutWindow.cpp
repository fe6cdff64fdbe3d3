#include "platform/GlutWindow.h"

#include <GL/glut.h>

#include "platform/SwapControl.h"

namespace platform {

void openWindow(int& argc, char** argv, const WindowSettings& settings) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(settings.width, settings.height);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Marrowick");
    // In a window the pointer may well pass over the show on its way elsewhere.
    if (settings.fullScreen) {
        glutFullScreen();
        glutSetCursor(GLUT_CURSOR_NONE);
    }
    if (settings.unsyncedSwaps) requestUnsyncedSwaps();
}

void runWindow(const WindowCallbacks& callbacks) {
    glutDisplayFunc(callbacks.frame);
    glutReshapeFunc(callbacks.reshape);
    glutKeyboardFunc(callbacks.key);
    glutIdleFunc(callbacks.frame);
    glutMainLoop();
}

void presentFrame() { glutSwapBuffers(); }

}  // namespace platform
