// The layer's gluBuild2DMipmaps arithmetic against the desktop GLU's: every
// level of pictures of many sizes, texel for texel. Built natively by `run`.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <random>
#include <vector>

#include "platform/OffscreenGl.h"
#include "platform/webgl/GluMipmaps.h"

namespace {

struct Case {
    int width, height, components, alignment;
};

// Powers of two, sizes GLU rounds up and down, rows GLU pads, single rows
// and columns, and the show's own 640x480 pictures.
constexpr Case kCases[] = {
    {64, 64, 3, 1},   {16, 8, 4, 4},    {1, 32, 3, 1},    {32, 1, 4, 1},  {100, 480, 3, 1},
    {640, 480, 3, 1}, {150, 480, 3, 1}, {640, 100, 3, 1}, {33, 17, 4, 1}, {45, 91, 3, 4},
    {7, 5, 3, 1},     {3, 3, 4, 1},     {200, 97, 3, 1},  {96, 96, 4, 1}, {257, 255, 3, 1},
};

std::vector<std::uint8_t> layerLevels(const Case& c, const std::vector<std::uint8_t>& pixels, std::vector<int>& sizes) {
    using namespace mwgl::glu;
    const std::size_t row = static_cast<std::size_t>(c.width) * c.components;
    const std::size_t stride = (row + c.alignment - 1) / c.alignment * c.alignment;
    int w = nearestPower(c.width), h = nearestPower(c.height);
    std::vector<std::uint8_t> level;
    if (w != c.width || h != c.height) {
        level = scaleImage(c.components, c.width, c.height, pixels.data(), stride, w, h);
    } else {
        for (int y = 0; y < c.height; ++y) level.insert(level.end(), &pixels[y * stride], &pixels[y * stride + row]);
    }
    std::vector<std::uint8_t> all = level;
    sizes = {w, h};
    while (w > 1 || h > 1) {
        level = halveImage(c.components, w, h, level.data());
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        all.insert(all.end(), level.begin(), level.end());
        sizes.insert(sizes.end(), {w, h});
    }
    return all;
}

std::vector<std::uint8_t> gluLevels(const Case& c, const std::vector<std::uint8_t>& pixels, std::vector<int>& sizes) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, c.alignment);
    const GLenum format = c.components == 4 ? GL_RGBA : GL_RGB;
    gluBuild2DMipmaps(GL_TEXTURE_2D, c.components, c.width, c.height, format, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<std::uint8_t> all;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int level = 0;; ++level) {
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        if (w == 0) break;
        std::vector<std::uint8_t> texels(static_cast<std::size_t>(w) * h * c.components);
        glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, texels.data());
        all.insert(all.end(), texels.begin(), texels.end());
        sizes.insert(sizes.end(), {w, h});
    }
    glDeleteTextures(1, &name);
    return all;
}

}  // namespace

int main() {
    platform::OffscreenGl gl(16, 16);
    std::mt19937 random(1234);
    int failed = 0, passed = 0;
    for (const Case& c : kCases) {
        const std::size_t row = static_cast<std::size_t>(c.width) * c.components;
        const std::size_t stride = (row + c.alignment - 1) / c.alignment * c.alignment;
        std::vector<std::uint8_t> pixels(stride * c.height);
        for (auto& p : pixels) p = static_cast<std::uint8_t>(random() & 255);
        std::vector<int> ourSizes, theirSizes;
        const auto ours = layerLevels(c, pixels, ourSizes);
        const auto theirs = gluLevels(c, pixels, theirSizes);
        std::size_t differ = 0;
        for (std::size_t i = 0; i < std::min(ours.size(), theirs.size()); ++i) differ += ours[i] != theirs[i];
        const bool ok = ourSizes == theirSizes && ours.size() == theirs.size() && differ == 0;
        std::printf("%-5s %4dx%-4d %d components, alignment %d: %zu levels, %zu of %zu texel bytes differ\n",
                    ok ? "ok" : "FAIL", c.width, c.height, c.components, c.alignment, theirSizes.size() / 2, differ,
                    theirs.size());
        (ok ? passed : failed)++;
    }
    std::printf("glu mipmaps: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
