#include <GL/gl.h>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "ImageFiles.h"
#include "render/Picture.h"

using testsupport::GlTest;
using testsupport::pixelAt;

namespace {

// 64x64: the top half red, the bottom half blue, so an upside-down picture shows.
std::string writeRedOverBlue() {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool top = y < 32;
            rgb.insert(rgb.end(), {std::uint8_t(top ? 255 : 0), 0, std::uint8_t(top ? 0 : 255)});
        }
    }
    const std::string path = ::testing::TempDir() + "red-over-blue.jpg";
    testsupport::writeJpg(path, JCS_RGB, 3, 64, 64, rgb);
    return path;
}

}  // namespace

class PictureTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setShowProjection();
        picture.load(writeRedOverBlue().c_str());
    }

    // One frame as the show draws it: cleared to black, then the picture.
    void frame(int durationMs, int direction, float target, int width = 640, int height = 480, int x = 0, int y = 0) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        picture.draw(durationMs, direction, width, height, x, y, target);
    }

    // The opacity the last frame was drawn with, read off the red top half.
    static float shownOpacity() { return pixelAt(320, 60)[0] / 255.0f; }

    Picture picture;
};

TEST_F(PictureTest, FirstFadeInFrameIsTransparent) {
    EXPECT_EQ(picture.getAlpha(), 0.0f);
    frame(1000, 1, 1.0f);
    EXPECT_NEAR(shownOpacity(), 0.0f, 1.5f / 255);
    EXPECT_FLOAT_EQ(picture.getAlpha(), 1.0f / 80);
}

TEST_F(PictureTest, FirstFadeOutFrameIsOpaque) {
    frame(1000, -1, 1.0f);
    EXPECT_NEAR(shownOpacity(), 1.0f, 3.0f / 255);
    EXPECT_FLOAT_EQ(picture.getAlpha(), 1.0f - 1.0f / 80);
}

TEST_F(PictureTest, StepIsTargetOverFramesOfTwelveAndAHalfMs) {
    for (int i = 0; i < 10; ++i) frame(1000, 1, 1.0f);
    EXPECT_NEAR(picture.getAlpha(), 10.0f / 80, 1e-6);
    EXPECT_NEAR(shownOpacity(), 9.0f / 80, 1.5f / 255);  // each frame shows the opacity before its step

    Picture faster;
    faster.load(writeRedOverBlue().c_str());
    for (int i = 0; i < 10; ++i) faster.draw(500, 1, 640, 480, 0, 0, 1.0f);
    EXPECT_NEAR(faster.getAlpha(), 20.0f / 80, 1e-6);

    // The target also scales the step: a fade out towards 0.6 is slower.
    Picture slower;
    slower.load(writeRedOverBlue().c_str());
    slower.draw(1000, -1, 640, 480, 0, 0, 0.6f);
    EXPECT_NEAR(slower.getAlpha(), 1.0 - 0.6 / 80, 1e-6);
}

TEST_F(PictureTest, OvershootIsShownAtTheTargetAndAlphaStops) {
    // 30 ms is 2.4 frames: the third step lands at 0.625, past the 0.5 target.
    frame(30, 1, 0.5f);
    frame(30, 1, 0.5f);
    frame(30, 1, 0.5f);
    EXPECT_NEAR(shownOpacity(), 0.5f / 2.4f * 2, 1.5f / 255);
    EXPECT_NEAR(picture.getAlpha(), 0.625f, 1e-6);
    for (int i = 0; i < 3; ++i) {
        frame(30, 1, 0.5f);
        EXPECT_NEAR(shownOpacity(), 0.5f, 1.5f / 255);
        EXPECT_NEAR(picture.getAlpha(), 0.625f, 1e-6);
    }
}

TEST_F(PictureTest, UndershootIsShownTransparentAndAlphaStops) {
    // From 1 down by 0.5 / 2.4 per frame: the fifth step ends below zero.
    for (int i = 0; i < 5; ++i) frame(30, -1, 0.5f);
    const float below = picture.getAlpha();
    EXPECT_LT(below, 0.0f);
    EXPECT_GT(shownOpacity(), 0.1f);
    frame(30, -1, 0.5f);
    EXPECT_NEAR(shownOpacity(), 0.0f, 1.5f / 255);
    EXPECT_EQ(picture.getAlpha(), below);
}

TEST_F(PictureTest, AtZeroOpacityEveryPixelStaysAsItWas) {
    // Over a scene rather than over black, so a quad that was drawn shows.
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<std::uint8_t> scene = testsupport::readFrame(kWidth, kHeight);
    for (const int direction : {1, -1}) {
        Picture faded;
        faded.load(writeRedOverBlue().c_str());
        if (direction == -1) {
            for (int i = 0; i < 3; ++i) faded.draw(30, -1, 640, 480, 0, 0, 1.0f);  // down to zero
            glClearColor(0.2f, 0.4f, 0.6f, 1.0f);  // the reset after each draw set it back to black
            glClear(GL_COLOR_BUFFER_BIT);
        }
        faded.draw(1000, direction, 640, 480, 0, 0, 1.0f);
        EXPECT_EQ(testsupport::readFrame(kWidth, kHeight), scene) << "direction " << direction;
    }
}

TEST_F(PictureTest, TurningRoundMidFadeContinuesFromTheCurrentOpacity) {
    for (int i = 0; i < 40; ++i) frame(1000, 1, 1.0f);
    EXPECT_NEAR(picture.getAlpha(), 0.5f, 1e-5);
    frame(1000, -1, 1.0f);
    EXPECT_NEAR(shownOpacity(), 0.5f, 1.5f / 255);
    EXPECT_NEAR(picture.getAlpha(), 0.5f - 1.0f / 80, 1e-5);
    // Any other direction draws at the current opacity and leaves it.
    frame(1000, 0, 1.0f);
    EXPECT_NEAR(picture.getAlpha(), 0.5f - 1.0f / 80, 1e-5);
    EXPECT_NEAR(shownOpacity(), 0.5f - 1.0f / 80, 1.5f / 255);
}

TEST_F(PictureTest, StandsUprightOverItsRectangle) {
    frame(1000, -1, 1.0f);  // first fade-out frame: fully opaque
    testsupport::saveFramePng("test-screenshots/PictureTest.StandsUpright.png", kWidth, kHeight);
    const auto top = pixelAt(320, 20);
    const auto bottom = pixelAt(320, 460);
    EXPECT_GT(top[0], 240);
    EXPECT_LT(top[2], 15);
    EXPECT_GT(bottom[2], 240);
    EXPECT_LT(bottom[0], 15);

    // A 100x240 strip placed at (200, 120): the picture fills exactly that.
    frame(1000, -1, 1.0f, 100, 240, 200, 120);
    EXPECT_GT(pixelAt(250, 130)[0], 200);
    EXPECT_GT(pixelAt(250, 350)[2], 200);
    EXPECT_EQ(pixelAt(195, 200), (testsupport::Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(305, 200), (testsupport::Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(250, 115), (testsupport::Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(250, 365), (testsupport::Rgba{0, 0, 0, 255}));
}

TEST_F(PictureTest, LeavesTheBaselineWithItsTextureBound) {
    glEnable(GL_DEPTH_TEST);
    frame(1000, 1, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(picture.getTexture().getName()));
    GLint source = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

using PictureDeathTest = GlTest;

TEST_F(PictureDeathTest, MissingPictureEndsTheProcessWithTheJpgMessage) {
    Picture picture;
    EXPECT_FATAL_EXIT(picture.load("ting\\nothere.jpg"), "Unable to load JPG File!\n");
}
