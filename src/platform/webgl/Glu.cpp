// The GLU entry points the show calls, over the layer's GL.
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/webgl/Context.h"
#include "platform/webgl/GluMipmaps.h"

using namespace mwgl;

namespace {

// GLU asks the proxy texture whether the picture's level 1 fits, halving
// the picture until it does.
void closestFit(GLint internalFormat, int width, int height, GLenum format, int* newWidth, int* newHeight) {
    int w = glu::nearestPower(width);
    int h = glu::nearestPower(height);
    for (;;) {
        const int w1 = w > 1 ? w >> 1 : w;
        const int h1 = h > 1 ? h >> 1 : h;
        glTexImage2D(GL_PROXY_TEXTURE_2D, 1, internalFormat, w1, h1, 0, format, GL_UNSIGNED_BYTE, nullptr);
        GLint proxyWidth = 0;
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &proxyWidth);
        if (proxyWidth != 0 || (w == 1 && h == 1)) break;
        w = w1;
        h = h1;
    }
    *newWidth = w;
    *newHeight = h;
}

}  // namespace

extern "C" {

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * M_PI / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    GLfloat m[16] = {};
    m[0] = static_cast<GLfloat>(cotangent / aspect);
    m[5] = static_cast<GLfloat>(cotangent);
    m[10] = static_cast<GLfloat>(-(zFar + zNear) / deltaZ);
    m[11] = -1;
    m[14] = static_cast<GLfloat>(-2 * zNear * zFar / deltaZ);
    glMultMatrixf(m);
}

GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* data) {
    if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_RGBA)) {
        return GLU_INVALID_ENUM;
    }
    if (width < 1 || height < 1) return GLU_INVALID_VALUE;
    const int components = format == GL_RGBA ? 4 : 3;
    int newWidth = 0, newHeight = 0;
    closestFit(internalFormat, width, height, format, &newWidth, &newHeight);

    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
    const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    const auto* pixels = static_cast<const std::uint8_t*>(data);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::vector<std::uint8_t> level;
    const std::uint8_t* current = pixels;
    if (newWidth != width || newHeight != height) {
        level = glu::scaleImage(components, width, height, pixels, stride, newWidth, newHeight);
        current = level.data();
    } else if (stride != rowBytes) {
        // Padded rows: only the padding goes.
        level.assign(rowBytes * height, 0);
        for (int y = 0; y < height; ++y) {
            std::copy(pixels + y * stride, pixels + y * stride + rowBytes, level.begin() + y * rowBytes);
        }
        current = level.data();
    }
    int w = newWidth, h = newHeight;
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, w, h, 0, format, GL_UNSIGNED_BYTE, current);
    for (GLint l = 1; w > 1 || h > 1; ++l) {
        std::vector<std::uint8_t> next = glu::halveImage(components, w, h, current);
        level.swap(next);
        current = level.data();
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        glTexImage2D(GL_TEXTURE_2D, l, internalFormat, w, h, 0, format, GL_UNSIGNED_BYTE, current);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return 0;
}

}  // extern "C"
