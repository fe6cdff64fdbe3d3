// Mipmapped uploads as gluBuild2DMipmaps makes them. For a picture whose
// sides are powers of two GLU scales nothing: each level is the 2x2 box
// average of the one above, down to 1x1. That chain is built here exactly as
// GLU builds it, without its per-texel overhead and without a GL context, so
// that it can also be built ahead on any thread. Other sizes go to GLU.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

struct MipLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // rows tightly packed
};

// Levels 1 and down (level 0 is the picture itself) of a picture with
// `components` bytes per pixel whose sides are powers of two, as GLU
// rounds them. Empty for any other size and for a 1x1 picture.
std::vector<MipLevel> halvedLevels(const std::uint8_t* pixels, int width, int height, int components);

// gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, format,
// GL_UNSIGNED_BYTE, pixels) for tightly packed rows (the unpack alignment at
// 1 and the other unpack settings at their defaults), into the bound
// texture. `levels`, when given, are halvedLevels() of the same pixels.
void buildMipmaps(GLint internalFormat, int width, int height, GLenum format, const std::uint8_t* pixels,
                  const std::vector<MipLevel>* levels = nullptr);
