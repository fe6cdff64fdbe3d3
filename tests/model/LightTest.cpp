#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "model/Light.h"
#include "platform/GlCurrent.h"

using testsupport::GlTest;

namespace {

std::array<GLfloat, 4> light(GLenum slot, GLenum what) {
    std::array<GLfloat, 4> v{-1, -1, -1, -1};
    glGetLightfv(slot, what, v.data());
    return v;
}

using Values = std::array<GLfloat, 4>;

}  // namespace

class LightTest : public GlTest {};

TEST_F(LightTest, SlotsGoFromLight0ToLight7AndTheNinthEndsTheShow) {
    std::vector<std::unique_ptr<Light>> lights;
    for (int i = 0; i < 8; ++i) {
        lights.push_back(std::make_unique<Light>());
        EXPECT_EQ(lights.back()->getSlot(), GLenum(GL_LIGHT0 + i));
    }
    EXPECT_FATAL_EXIT(Light(), "To many lights created, do something else!\n");
    EXPECT_FATAL_EXIT(Light(1, 1, 1, 1, 0, 0, 0), "To many lights created, do something else!\n");
}

TEST_F(LightTest, ASlotIsTakenByCountNotByWhichSlotsAreFree) {
    auto first = std::make_unique<Light>();
    auto second = std::make_unique<Light>();
    Light third;
    second.reset();
    Light fourth;
    EXPECT_EQ(third.getSlot(), GLenum(GL_LIGHT2));
    EXPECT_EQ(fourth.getSlot(), GLenum(GL_LIGHT2));
    first.reset();
    Light fifth(1, 1, 1, 1, 0, 0, 0);
    EXPECT_EQ(fifth.getSlot(), GLenum(GL_LIGHT2));
}

TEST_F(LightTest, TheDefaultLightSendsItsValuesAtOnce) {
    Light light0;
    EXPECT_EQ(light(GL_LIGHT0, GL_POSITION), (Values{0, 0.5f, -4, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_AMBIENT), (Values{1, 1, 1, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_DIFFUSE), (Values{1, 1, 1, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_SPECULAR), (Values{0, 0, 0, 1}));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(LightTest, TheColourAndPlaceLightSendsNothingUntilEnabled) {
    Light light0;
    Light light1(0.5f, 0.25f, 1, 1, 1, 1, -4);
    EXPECT_EQ(light(GL_LIGHT1, GL_DIFFUSE), (Values{0, 0, 0, 1}));  // OpenGL's own default
    light1.enable();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(light(GL_LIGHT1, GL_DIFFUSE), (Values{0.5f, 0.25f, 1, 1}));
    EXPECT_EQ(light(GL_LIGHT1, GL_POSITION), (Values{1, 1, -4, 1}));
    EXPECT_EQ(light(GL_LIGHT1, GL_AMBIENT), (Values{0, 0, 0, 0}));
    EXPECT_EQ(light(GL_LIGHT1, GL_SPECULAR), (Values{0, 0, 0, 0}));
    light1.disable();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

TEST_F(LightTest, SettersSendAtOnceAndThePositionIsAlwaysAPoint) {
    Light light0;
    light0.setAmbient(0.1f, 0.2f, 0.3f, 0.4f);
    light0.setDiffuse(0.5f, 0.6f, 0.7f, 0.8f);
    light0.setSpecular(0.9f, 1, 0, 0.5f);
    EXPECT_EQ(light(GL_LIGHT0, GL_AMBIENT), (Values{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(light(GL_LIGHT0, GL_DIFFUSE), (Values{0.5f, 0.6f, 0.7f, 0.8f}));
    EXPECT_EQ(light(GL_LIGHT0, GL_SPECULAR), (Values{0.9f, 1, 0, 0.5f}));
    // A point light moves with the modelview translation; a direction would not.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(10, 20, 30);
    light0.setPosition(1, 2, 3);
    EXPECT_EQ(light(GL_LIGHT0, GL_POSITION), (Values{11, 22, 33, 1}));
}

TEST_F(LightTest, EnableResendsAllValuesUnderTheCurrentModelview) {
    Light light0;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    light0.setPosition(0, 40, -10);
    light0.setSpecular(1, 1, 1, 1);
    // Someone else changes the slot behind the light's back.
    const GLfloat grey[] = {0.3f, 0.3f, 0.3f, 1};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT0, GL_SPECULAR, grey);
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    glTranslatef(0, 0, -50);
    light0.enable();
    EXPECT_EQ(light(GL_LIGHT0, GL_POSITION), (Values{0, 40, -60, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_DIFFUSE), (Values{1, 1, 1, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_SPECULAR), (Values{1, 1, 1, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_AMBIENT), (Values{1, 1, 1, 1}));
}

// The show builds its lights before the window: nothing may reach OpenGL
// then, and what they hold must arrive once a context exists.
TEST(LightBeforeContext, ValuesWaitForTheContext) {
    EXPECT_FALSE(platform::hasCurrentGlContext());
    Light light0;
    light0.setDiffuse(0.25f, 0.5f, 0.75f, 1);
    light0.setPosition(1, 2, 3);
    testsupport::GlContext context(16, 16);
    EXPECT_TRUE(platform::hasCurrentGlContext());
    EXPECT_EQ(light(GL_LIGHT0, GL_DIFFUSE), (Values{1, 1, 1, 1}));  // OpenGL's default for light 0
    light0.enable();
    EXPECT_EQ(light(GL_LIGHT0, GL_DIFFUSE), (Values{0.25f, 0.5f, 0.75f, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_POSITION), (Values{1, 2, 3, 1}));
}
