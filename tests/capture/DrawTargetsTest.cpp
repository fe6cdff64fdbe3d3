// The capture's two pbuffers, drawn in turn and each read back a frame
// later, give every frame exactly as one pbuffer drawn and read at once
// does: a lit, textured, blended scene with edges at every angle, where
// drawing into a framebuffer object instead moves the odd pixel.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "capture/DrawTargets.h"
#include "platform/OffscreenGl.h"

namespace {

constexpr int kWidth = 160, kHeight = 120, kFrames = 12;

using Frame = std::vector<std::uint8_t>;

// A mipmapped texture in the current context.
GLuint makeTexture() {
    std::vector<std::uint8_t> texels(128 * 128 * 3);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<std::uint8_t>((i * 7) ^ (i >> 8));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 128, 128, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texture;
}

// Frame f of a scene that turns: a lit, mipmapped floor in perspective and
// a half-transparent picture over it, as the show draws them.
void drawFrame(int f, GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(65.0, 1.0, 1.5, 2000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -10);
    glRotatef(55.0f + 3.0f * static_cast<float>(f), 1, 0, 0);
    glRotatef(7.0f * static_cast<float>(f), 0, 0, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex2f(-20, -20);
    glTexCoord2f(8, 0);
    glVertex2f(20, -20);
    glTexCoord2f(8, 8);
    glVertex2f(20, 20);
    glTexCoord2f(0, 8);
    glVertex2f(-20, 20);
    glEnd();
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 0.37f);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0, 0);
    glVertex2f(0.1f, 0.05f * static_cast<float>(f));
    glTexCoord2f(1, 0);
    glVertex2f(0.93f, 0.2f);
    glTexCoord2f(0.5f, 1);
    glVertex2f(0.4f, 0.97f);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

}  // namespace

TEST(DrawTargets, FramesDrawnInTurnAndReadLateAreTheFramesDrawnAlone) {
    std::vector<Frame> alone;
    {
        platform::OffscreenGl context(kWidth, kHeight);
        const GLuint texture = makeTexture();
        for (int f = 0; f < kFrames; ++f) {
            drawFrame(f, texture);
            Frame frame(std::size_t{4} * kWidth * kHeight);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_BYTE, frame.data());
            alone.push_back(frame);
        }
    }
    std::vector<Frame> inTurn(kFrames, Frame(std::size_t{4} * kWidth * kHeight));
    {
        DrawTargets targets(kWidth, kHeight);
        ASSERT_TRUE(targets.overlapped());
        const GLuint texture = makeTexture();
        for (int f = 0; f < kFrames; ++f) {
            targets.drawInto(static_cast<std::uint64_t>(f));
            drawFrame(f, texture);
            glFlush();
            if (f > 0) targets.readBack(static_cast<std::uint64_t>(f - 1), inTurn[f - 1].data());
        }
        targets.readBack(kFrames - 1, inTurn[kFrames - 1].data());
    }
    for (int f = 0; f < kFrames; ++f) {
        ASSERT_NE(alone[f], Frame(alone[f].size(), 0)) << "frame " << f << " is empty";
        if (f > 0) {
            ASSERT_NE(alone[f], alone[f - 1]) << "frames " << f - 1 << " and " << f << " are alike";
        }
        EXPECT_EQ(inTurn[f], alone[f]) << "frame " << f;
    }
}
