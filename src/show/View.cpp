#include "show/View.h"

#include <GL/gl.h>
#include <GL/glu.h>

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
