#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GlContext.h"
#include "TestData.h"
#include "render/JpgReader.h"
#include "render/Mipmaps.h"
#include "render/TgaReader.h"

using testsupport::GlTest;
using testsupport::testDataPath;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Every level of the bound texture: its size and its texels as RGBA.
struct Level {
    int width;
    int height;
    Bytes texels;
    bool operator==(const Level& o) const { return width == o.width && height == o.height && texels == o.texels; }
};

std::vector<Level> boundLevels() {
    std::vector<Level> levels;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int level = 0;; ++level) {
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        if (width == 0) break;
        Bytes texels(static_cast<std::size_t>(width) * height * 4);
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        levels.push_back({width, height, texels});
    }
    return levels;
}

template <typename Upload>
std::vector<Level> uploaded(Upload upload) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    upload();
    std::vector<Level> levels = boundLevels();
    glDeleteTextures(1, &name);
    return levels;
}

}  // namespace

class MipmapsTest : public GlTest {};

// Both internal formats the show uploads, and RGB pictures put to RGBA as the
// font's are: level for level, texel for texel what GLU builds.
TEST_F(MipmapsTest, PowerOfTwoPicturesGetExactlyGlusChain) {
    SKIP_WITHOUT_TESTDATA();
    struct Case {
        const char* file;
        int width = 0;  // when set, the file's pixels taken in another shape
        int height = 0;
    };
    const Case cases[] = {
        {"jpg/pillow/hopper.jpg"},                     // 128x128
        {"jpg/jpeg-decoder/non-interleaved-mcu.jpg"},  // 64x16: one side reaches 1 first
        {"jpg/jpeg-decoder/jpg-gray.jpg"},             // grey, expanded to RGB
        {"jpg/jpeg-decoder/jpg-size-2x2.jpg"},
        {"jpg/jpeg-decoder/jpg-size-1x1.jpg"},
        {"jpg/pillow/orientation_rectangle.jpg"},        // 2x1: a single row
        {"jpg/pillow/hopper.jpg", 4, 64},                // tall: ends in a single column
        {"jpg/jpeg-decoder/jpg-size-31x31.jpg"},         // not a power of two: GLU scales it
        {"tga/tacent/WhiteBorderRLE.tga"},               // 512x512
        {"tga/kimageformats/rgb.tga"},                   // 32x32
        {"tga/pillow/200x32_rgba_tl_rle.tga", 64, 100},  // RGBA
        {"tga/pillow/rgba16.tga"},                       // 2x1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = testDataPath(c.file);
        const bool tga = path.size() > 4 && path.compare(path.size() - 4, 4, ".tga") == 0;
        std::optional<ImageData> image = tga ? loadTga(path.c_str()) : loadJpg(path.c_str());
        ASSERT_TRUE(image);
        if (c.width > 0) {
            ASSERT_LE(static_cast<std::size_t>(c.width) * c.height * image->components, image->pixels.size());
            image->width = c.width;
            image->height = c.height;
        }
        const GLenum format = image->components == 4 ? GL_RGBA : GL_RGB;
        for (const GLint internalFormat : {image->components, 4}) {
            SCOPED_TRACE(internalFormat);
            const auto glu = uploaded([&] {
                gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, image->width, image->height, format, GL_UNSIGNED_BYTE,
                                  image->pixels.data());
            });
            const auto ours = uploaded(
                [&] { buildMipmaps(internalFormat, image->width, image->height, format, image->pixels.data()); });
            const auto levels = halvedLevels(image->pixels.data(), image->width, image->height, image->components);
            const auto ahead = uploaded([&] {
                buildMipmaps(internalFormat, image->width, image->height, format, image->pixels.data(), &levels);
            });
            ASSERT_FALSE(glu.empty());
            EXPECT_TRUE(ours == glu) << "built here: " << ours.size() << " levels, GLU " << glu.size();
            EXPECT_TRUE(ahead == glu) << "built ahead: " << ahead.size() << " levels, GLU " << glu.size();
        }
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
