#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "ImageFiles.h"
#include "TestData.h"
#include "render/Texture.h"

using testsupport::GlTest;
using testsupport::testDataPath;
using testsupport::writeBytes;
using Bytes = std::vector<std::uint8_t>;

namespace {

GLint integer(GLenum what) {
    GLint v = -1;
    glGetIntegerv(what, &v);
    return v;
}

GLint levelParameter(GLenum what, int level = 0) {
    GLint v = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &v);
    return v;
}

// Level 0 of the bound texture as RGBA bytes.
Bytes boundTexels() {
    const int width = levelParameter(GL_TEXTURE_WIDTH);
    const int height = levelParameter(GL_TEXTURE_HEIGHT);
    Bytes texels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// A 2x2 24-bit TGA: RGB rows of 6 bytes, which the default unpack alignment
// of 4 would read skewed.
std::string writeSmallTga() {
    Bytes file(18, 0);
    file[2] = 2;
    file[12] = 2;
    file[14] = 2;
    file[16] = 24;
    const Bytes pixels{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};  // B, G, R
    file.insert(file.end(), pixels.begin(), pixels.end());
    const std::string path = ::testing::TempDir() + "small.tga";
    writeBytes(path, file);
    return path;
}

const std::string kJpg = testDataPath("jpg/jpeg-decoder/jpg-size-16x16.jpg");

}  // namespace

class TextureTest : public GlTest {};

TEST_F(TextureTest, LoadingLeavesTheNewTextureBoundButTexturingOff) {
    Texture texture;
    EXPECT_EQ(texture.getName(), 0u);
    texture.setFormat(TextureFormat::Tga);
    texture.load(writeSmallTga().c_str());
    ASSERT_NE(texture.getName(), 0u);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.getName()));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    // The whole mipmap chain down to 1x1 exists.
    EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH, 1), 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureTest, RgbRowsOfAnyWidthUploadUnskewed) {
    Texture texture;
    texture.setFormat(TextureFormat::Tga);
    texture.load(writeSmallTga().c_str());
    EXPECT_EQ(boundTexels(), (Bytes{30, 20, 10, 255, 60, 50, 40, 255, 90, 80, 70, 255, 120, 110, 100, 255}));
}

TEST_F(TextureTest, ThirtyTwoBitTgaKeepsItsAlpha) {
    SKIP_WITHOUT_TESTDATA();
    Texture texture;
    texture.setFormat(TextureFormat::Tga);
    texture.load(testDataPath("tga/gdk-pixbuf/gtk-logo-rle-32bpp-top-left.tga").c_str());
    ASSERT_EQ(levelParameter(GL_TEXTURE_WIDTH), 64);  // GLU scales 48 to a power of two
    const Bytes texels = boundTexels();
    bool transparent = false;
    bool opaque = false;
    for (std::size_t i = 3; i < texels.size(); i += 4) {
        transparent |= texels[i] == 0;
        opaque |= texels[i] == 255;
    }
    EXPECT_TRUE(transparent);
    EXPECT_TRUE(opaque);
}

TEST_F(TextureTest, JpgUploadsAsRgbTopRowFirst) {
    SKIP_WITHOUT_TESTDATA();
    Texture texture;
    texture.setFormat(TextureFormat::Jpg);
    texture.load(testDataPath("jpg/jpeg-decoder/jpg-gray.jpg").c_str());
    ASSERT_NE(texture.getName(), 0u);
    EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 32);
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), 3);
    const Bytes texels = boundTexels();
    const auto reference = testsupport::readPng(testDataPath("jpg/jpeg-decoder/jpg-gray.png"));
    ASSERT_EQ(texels.size(), reference.pixels.size());
    for (std::size_t i = 0; i < texels.size(); ++i) ASSERT_NEAR(texels[i], reference.pixels[i], 3) << i;
}

TEST_F(TextureTest, LoadingTwiceMakesASecondTextureAndKeepsTheFirst) {
    SKIP_WITHOUT_TESTDATA();
    Texture texture;
    texture.setFormat(TextureFormat::Jpg);
    texture.load(kJpg.c_str());
    const GLuint first = texture.getName();
    texture.load(kJpg.c_str());
    EXPECT_NE(texture.getName(), first);
    EXPECT_TRUE(glIsTexture(first));
    EXPECT_TRUE(glIsTexture(texture.getName()));
}

TEST_F(TextureTest, UnbindThenBindOfAnotherReenablesTexturing) {
    SKIP_WITHOUT_TESTDATA();
    Texture a(kJpg.c_str(), TextureFormat::Jpg);
    Texture b(kJpg.c_str(), TextureFormat::Jpg);
    a.bind();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    a.unbind();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(a.getName()));
    b.bind();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(b.getName()));
}

TEST_F(TextureTest, NoFormatPrintsItsMessageAndCreatesNothing) {
    Texture texture;
    ::testing::internal::CaptureStdout();
    texture.load(kJpg.c_str());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "this IS NOT GIVEN A VALID PICTURE FORMAT, SAY EITHER JPG OR TGA WHEN LOADING\n");
    EXPECT_EQ(texture.getName(), 0u);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_FALSE(glIsTexture(1));
}

TEST_F(TextureTest, UnknownFormatOrNoNameIsIgnoredSilently) {
    Texture unknown;
    unknown.setFormat(static_cast<TextureFormat>(3));
    Texture unnamed;
    unnamed.setFormat(TextureFormat::Jpg);
    ::testing::internal::CaptureStdout();
    unknown.load(kJpg.c_str());
    unnamed.load(nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(unknown.getName(), 0u);
    EXPECT_EQ(unnamed.getName(), 0u);
}

TEST_F(TextureTest, BuildFromMemoryAlwaysKeepsFourComponents) {
    const Bytes rgba{255, 0, 0, 128, 0, 255, 0, 255, 0, 0, 255, 0, 9, 9, 9, 9};
    Texture fromRgba;
    fromRgba.buildFromMemory(rgba.data(), GL_RGBA, 2, 2);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(fromRgba.getName()));
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), 4);
    EXPECT_EQ(boundTexels(), rgba);

    const Bytes rgb{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Texture fromRgb;
    fromRgb.buildFromMemory(rgb.data(), GL_RGB, 2, 2);
    EXPECT_NE(fromRgb.getName(), fromRgba.getName());
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), 4);
    EXPECT_EQ(boundTexels(), (Bytes{1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255}));

    Texture fromLuminance;
    fromLuminance.buildFromMemory(rgb.data(), GL_LUMINANCE, 2, 2);
    EXPECT_TRUE(glIsTexture(fromLuminance.getName()));
    EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 0);
}

using TextureDeathTest = TextureTest;

TEST_F(TextureDeathTest, MissingFilesEndTheProcessWithTheirMessages) {
    Texture jpg;
    jpg.setFormat(TextureFormat::Jpg);
    EXPECT_FATAL_EXIT(jpg.load("ting\\missing.jpg"), "Unable to load JPG File!\n");
    Texture tga;
    tga.setFormat(TextureFormat::Tga);
    EXPECT_FATAL_EXIT(tga.load("ting\\missing.tga"), "Unable to load TGA File!Error, MB_OK");
}

TEST_F(TextureDeathTest, UnsupportedTgaEndsTheProcessSilently) {
    SKIP_WITHOUT_TESTDATA();
    Texture grey;
    grey.setFormat(TextureFormat::Tga);
    EXPECT_FATAL_EXIT(grey.load(testDataPath("tga/pillow/200x32_l_bl_raw.tga").c_str()), "");
}
