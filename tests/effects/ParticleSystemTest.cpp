#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

#include "GlCallLog.h"
#include "GlContext.h"
#include "effects/ParticleSystem.h"
#include "effects/ShowRandom.h"

using testsupport::GlTest;

namespace {

std::array<GLfloat, 4> appliedMaterial(Material& material, GLenum what) {
    material.apply();
    std::array<GLfloat, 4> v{};
    glGetMaterialfv(GL_FRONT, what, v.data());
    return v;
}

bool isTenth(float value) {
    const float tenths = value * 10;
    return tenths >= 0 && tenths <= 9 && std::fabs(tenths - std::round(tenths)) < 1e-4f;
}

class ParticleSystemTest : public GlTest {};

}  // namespace

TEST_F(ParticleSystemTest, ThreeHundredParticlesTakeTheirRangesFrom5700RandomValues) {
    ParticleSystem system;
    std::srand(1234);
    system.setParticleCount(300);
    const int next = std::rand();
    std::srand(1234);
    for (int i = 0; i < 5700; ++i) std::rand();
    EXPECT_EQ(next, std::rand());

    ASSERT_EQ(system.getParticleCount(), 300);
    for (int i = 0; i < 300; ++i) {
        Particle& p = system.particle(i);
        EXPECT_GE(p.mass, 500.0f);
        EXPECT_LE(p.mass, 509.0f);
        EXPECT_EQ(p.massLimit, p.mass + 2000);
        for (int axis = 0; axis < 2; ++axis) {
            EXPECT_GE(p.position[axis], -10.0f);
            EXPECT_LE(p.position[axis], -1.0f);
        }
        EXPECT_EQ(p.position[2], 0.0f);
        for (GLenum what : {GL_AMBIENT, GL_DIFFUSE, GL_EMISSION, GL_SPECULAR}) {
            const auto colour = appliedMaterial(p.material, what);
            for (int c = 0; c < 3; ++c) EXPECT_TRUE(isTenth(colour[c])) << i << " " << what << " " << colour[c];
            EXPECT_EQ(colour[3], 1.0f);
        }
        EXPECT_TRUE(isTenth(appliedMaterial(p.material, GL_SHININESS)[0]));
    }
}

TEST_F(ParticleSystemTest, ParticleDrawsPositionMassThenColoursBlueFirst) {
    std::srand(77);
    int r[19];
    for (int& value : r) value = showRandom();
    std::srand(77);
    Particle p;
    EXPECT_EQ(p.position[1], r[1] % 10 - 10);
    EXPECT_EQ(p.position[0], r[2] % 10 - 10);
    EXPECT_EQ(p.mass, r[3] % 10 + 500);
    const GLenum colours[5] = {GL_AMBIENT, GL_DIFFUSE, GL_EMISSION, GL_SHININESS, GL_SPECULAR};
    for (int c = 0; c < 5; ++c) {
        const auto value = appliedMaterial(p.material, colours[c]);
        const int base = 4 + 3 * c;
        EXPECT_FLOAT_EQ(value[0], (r[base + 2] % 10) / 10.0f) << c;
        if (colours[c] == GL_SHININESS) continue;  // only the exponent reaches OpenGL
        EXPECT_FLOAT_EQ(value[1], (r[base + 1] % 10) / 10.0f) << c;
        EXPECT_FLOAT_EQ(value[2], (r[base] % 10) / 10.0f) << c;
    }
}

TEST_F(ParticleSystemTest, DrawBindsTheTextureAndShowsEachParticleMassOver200Wide) {
    ParticleSystem empty;
    glcalls::start();
    empty.draw();
    glcalls::stop();
    EXPECT_EQ(glcalls::count("glBindTexture"), 1);
    EXPECT_EQ(glcalls::count("glBegin"), 0);

    setShowProjection();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    ParticleSystem system;
    system.setParticleCount(1);
    Particle& p = system.particle(0);
    p.position[0] = p.position[1] = p.position[2] = 0;
    p.mass = 400;  // two units wide
    glTranslatef(0, 0, -10);
    system.draw();
    // The square spans (0, 0)-(2, 2) at distance 10: 100 by 75 pixels right
    // of and above the centre.
    EXPECT_GT(testsupport::pixelAt(325, 235)[0], 0);
    EXPECT_GT(testsupport::pixelAt(415, 170)[0], 0);
    EXPECT_EQ(testsupport::pixelAt(315, 235)[0], 0);
    EXPECT_EQ(testsupport::pixelAt(325, 245)[0], 0);
    EXPECT_EQ(testsupport::pixelAt(425, 235)[0], 0);
    EXPECT_EQ(testsupport::pixelAt(325, 160)[0], 0);
}

TEST_F(ParticleSystemTest, UpdatePullsLightParticlesTowardsTheHeavyAttractor) {
    ParticleSystem system;
    system.setParticleCount(2);
    Particle& light = system.particle(1);
    const float before[3] = {light.position[0], light.position[1], light.position[2]};

    // Particle 0 is placed afresh (z, y, x) before each particle reacts;
    // particle 1 reacts to the second placement.
    std::srand(5);
    for (int i = 0; i < 3; ++i) showRandom();
    float attractor[3];
    for (int axis = 2; axis >= 0; --axis) attractor[axis] = static_cast<float>(showRandom() % 500 - 200);
    std::srand(5);
    system.update();

    for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(light.target[axis], attractor[axis]);
    float distanceBefore = 0, distanceAfter = 0;
    for (int axis = 0; axis < 3; ++axis) {
        distanceBefore += (attractor[axis] - before[axis]) * (attractor[axis] - before[axis]);
        distanceAfter += (attractor[axis] - light.position[axis]) * (attractor[axis] - light.position[axis]);
    }
    EXPECT_LT(distanceAfter, distanceBefore);
    // The attractor gained mass past its limit and was respawned near the origin.
    const Particle& respawned = system.particle(0);
    EXPECT_GE(respawned.mass, 1400.0f);
    EXPECT_LT(respawned.mass, 6400.0f);
    for (float t : respawned.target) EXPECT_EQ(t, 0.0f);
    EXPECT_EQ(std::fmod(respawned.position[0], 10.0f), 0.0f);
    EXPECT_GE(respawned.position[0], 0.0f);
    EXPECT_LE(respawned.position[0], 90.0f);
}
