#include "render/Mipmaps.h"

#include <GL/glu.h>

#include <algorithm>

namespace {

// The formats the show uploads; GLU takes any other.
int componentsOf(GLenum format) { return format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 0; }

MipLevel halve(const std::uint8_t* in, int width, int height, int components) {
    MipLevel out;
    out.width = std::max(width / 2, 1);
    out.height = std::max(height / 2, 1);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * components);
    std::uint8_t* to = out.pixels.data();
    const std::size_t row = static_cast<std::size_t>(width) * components;
    if (width == 1 || height == 1) {
        // A single row or column: pairs along it.
        const std::size_t step = width == 1 ? row : components;
        const int pairs = std::max(out.width, out.height);
        for (int i = 0; i < pairs; ++i, in += 2 * step) {
            for (int k = 0; k < components; ++k) *to++ = static_cast<std::uint8_t>((in[k] + in[k + step]) / 2);
        }
        return out;
    }
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* top = in + 2 * y * row;
        const std::uint8_t* bottom = top + row;
        for (int x = 0; x < out.width; ++x, top += 2 * components, bottom += 2 * components) {
            for (int k = 0; k < components; ++k) {
                *to++ = static_cast<std::uint8_t>(
                    (top[k] + top[k + components] + bottom[k] + bottom[k + components] + 2) / 4);
            }
        }
    }
    return out;
}

// GLU shrinks a picture whose level 1 the implementation would refuse; it
// asks the proxy texture, and so does this.
bool levelOneFits(GLint internalFormat, int width, int height, GLenum format) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 1, internalFormat, std::max(width / 2, 1), std::max(height / 2, 1), 0, format,
                 GL_UNSIGNED_BYTE, nullptr);
    GLint proxyWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &proxyWidth);
    return proxyWidth != 0;
}

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

std::vector<MipLevel> halvedLevels(const std::uint8_t* pixels, int width, int height, int components) {
    std::vector<MipLevel> levels;
    if (!isPowerOfTwo(width) || !isPowerOfTwo(height) || components <= 0) return levels;
    const std::uint8_t* above = pixels;
    while (width > 1 || height > 1) {
        levels.push_back(halve(above, width, height, components));
        above = levels.back().pixels.data();
        width = levels.back().width;
        height = levels.back().height;
    }
    return levels;
}

void buildMipmaps(GLint internalFormat, int width, int height, GLenum format, const std::uint8_t* pixels,
                  const std::vector<MipLevel>* levels) {
    const int components = componentsOf(format);
    if (components == 0 || (internalFormat != 3 && internalFormat != 4) || !isPowerOfTwo(width) ||
        !isPowerOfTwo(height) || !levelOneFits(internalFormat, width, height, format)) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, format, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    std::vector<MipLevel> built;
    if (levels == nullptr) {
        built = halvedLevels(pixels, width, height, components);
        levels = &built;
    }
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    for (std::size_t i = 0; i < levels->size(); ++i) {
        const MipLevel& level = (*levels)[i];
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i + 1), internalFormat, level.width, level.height, 0, format,
                     GL_UNSIGNED_BYTE, level.pixels.data());
    }
}
