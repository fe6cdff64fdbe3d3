#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "GlContext.h"
#include "render/Material.h"
#include "render/RenderState.h"

using testsupport::glMatrix;
using testsupport::GlTest;
using testsupport::pixelAt;

namespace {

std::array<GLfloat, 4> material(GLenum face, GLenum what) {
    std::array<GLfloat, 4> v{-1, -1, -1, -1};
    glGetMaterialfv(face, what, v.data());
    return v;
}

GLint integer(GLenum what) {
    GLint v = -1;
    glGetIntegerv(what, &v);
    return v;
}

void drawQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

}  // namespace

class RenderStateTest : public GlTest {};

TEST_F(RenderStateTest, ResetSetsTheBaseline) {
    glShadeModel(GL_FLAT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glFrontFace(GL_CW);
    glCullFace(GL_FRONT);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    glClearColor(1, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(3, 4, 5);

    resetRenderState();

    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    const auto identity = std::array<GLfloat, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(glMatrix(GL_MODELVIEW_MATRIX), identity);
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<GLfloat, 4>{1, 1, 1, 1}));
    glGetFloatv(GL_COLOR_CLEAR_VALUE, colour.data());
    EXPECT_EQ(colour, (std::array<GLfloat, 4>{0, 0, 0, 1}));
    // The default material on both faces: white diffuse, black elsewhere, exponent 0.
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        EXPECT_EQ(material(face, GL_DIFFUSE), (std::array<GLfloat, 4>{1, 1, 1, 1}));
        EXPECT_EQ(material(face, GL_AMBIENT), (std::array<GLfloat, 4>{0, 0, 0, 1}));
        EXPECT_EQ(material(face, GL_SPECULAR), (std::array<GLfloat, 4>{0, 0, 0, 1}));
        EXPECT_EQ(material(face, GL_EMISSION), (std::array<GLfloat, 4>{0, 0, 0, 1}));
        EXPECT_EQ(material(face, GL_SHININESS)[0], 0.0f);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(RenderStateTest, ResetWithoutOverlayKeepsTheProjection) {
    setShowProjection();
    const auto perspective = glMatrix(GL_PROJECTION_MATRIX);
    resetRenderState();
    resetRenderState();
    EXPECT_EQ(glMatrix(GL_PROJECTION_MATRIX), perspective);
    EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), 1);
}

TEST_F(RenderStateTest, ResetLeavesAnOverlayAndRestoresTheProjection) {
    setShowProjection();
    const auto perspective = glMatrix(GL_PROJECTION_MATRIX);
    enter2D(0, 0, 640, 480);
    EXPECT_NE(glMatrix(GL_PROJECTION_MATRIX), perspective);
    resetRenderState();
    EXPECT_EQ(glMatrix(GL_PROJECTION_MATRIX), perspective);
}

TEST_F(RenderStateTest, ResetLeavesTexturingBlendFunctionAndLightsAlone) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_LIGHT3);
    resetRenderState();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(name));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
    glDisable(GL_TEXTURE_2D);
    resetRenderState();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(RenderStateTest, TopLeftOverlayPutsOriginAtTopLeftPixel) {
    clearShowView();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    enter2D(0, 0, 640, 480);
    glColor3f(1, 0, 0);
    drawQuad(0, 0, 10, 10);
    glColor3f(0, 1, 0);
    drawQuad(630, 470, 640, 480);
    resetRenderState();
    EXPECT_EQ(pixelAt(0, 0)[0], 255);
    EXPECT_EQ(pixelAt(9, 9)[0], 255);
    EXPECT_EQ(pixelAt(0, 479)[0], 0);
    EXPECT_EQ(pixelAt(639, 479)[1], 255);
    EXPECT_EQ(pixelAt(639, 0)[1], 0);
}

TEST_F(RenderStateTest, BottomLeftOverlayPutsOriginAtBottomLeftPixel) {
    clearShowView();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    enter2D(0, 480, 640, 0);
    glColor3f(0, 0, 1);
    drawQuad(0, 0, 10, 10);
    resetRenderState();
    EXPECT_EQ(pixelAt(0, 479)[2], 255);
    EXPECT_EQ(pixelAt(0, 0)[2], 0);
}

TEST(Material, FaceBackBecomesFrontAndBackOnApply) {
    testsupport::GlContext context(16, 16);
    Material m;
    EXPECT_EQ(m.getFace(), GLenum(GL_BACK));
    m.setDiffuse(0.25f, 0.5f, 0.75f, 1.0f);
    m.apply();
    EXPECT_EQ(m.getFace(), GLenum(GL_FRONT_AND_BACK));
    EXPECT_EQ(material(GL_FRONT, GL_DIFFUSE), (std::array<GLfloat, 4>{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_EQ(material(GL_BACK, GL_DIFFUSE), (std::array<GLfloat, 4>{0.25f, 0.5f, 0.75f, 1.0f}));
}

TEST(Material, FrontOnlyMaterialLeavesTheBackFaceAlone) {
    testsupport::GlContext context(16, 16);
    Material back;
    back.setAmbient(0.1f, 0.1f, 0.1f, 1.0f);
    back.apply();
    Material front;
    front.setFace(GL_FRONT);
    front.setAmbient(0.9f, 0.8f, 0.7f, 1.0f);
    front.setSpecular(0.5f, 0.5f, 0.5f, 1.0f);
    front.setEmission(0.0f, 0.2f, 0.0f, 1.0f);
    front.setShininess(64.0f, 0, 0, 0);
    front.apply();
    EXPECT_EQ(front.getFace(), GLenum(GL_FRONT));
    EXPECT_EQ(material(GL_FRONT, GL_AMBIENT), (std::array<GLfloat, 4>{0.9f, 0.8f, 0.7f, 1.0f}));
    EXPECT_EQ(material(GL_FRONT, GL_SPECULAR), (std::array<GLfloat, 4>{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_EQ(material(GL_FRONT, GL_EMISSION), (std::array<GLfloat, 4>{0.0f, 0.2f, 0.0f, 1.0f}));
    EXPECT_EQ(material(GL_FRONT, GL_SHININESS)[0], 64.0f);
    EXPECT_EQ(material(GL_BACK, GL_AMBIENT), (std::array<GLfloat, 4>{0.1f, 0.1f, 0.1f, 1.0f}));
}
