#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

#include "GlCallLog.h"
#include "GlContext.h"
#include "effects/ParticleSystem.h"
#include "platform/ShowRandom.h"

namespace {

// A material's colour as OpenGL gets it.
std::array<GLfloat, 4> applied(Material& material, GLenum what) {
    material.apply();
    std::array<GLfloat, 4> v{};
    glGetMaterialfv(GL_FRONT, what, v.data());
    return v;
}

class ParticleSystemTest : public testsupport::GlTest {};

}  // namespace

TEST_F(ParticleSystemTest, ThreeHundredParticlesTakeTheirValuesFrom5700Draws) {
    ParticleSystem system;
    std::srand(1234);
    system.setParticleCount(300);
    const int next = std::rand();
    std::srand(1234);
    int r[5700];
    for (int& value : r) value = showRandom();
    EXPECT_EQ(next, std::rand());

    ASSERT_EQ(system.getParticleCount(), 300);
    const GLenum colours[5] = {GL_AMBIENT, GL_DIFFUSE, GL_EMISSION, GL_SHININESS, GL_SPECULAR};
    for (int i = 0; i < 300; ++i) {
        Particle& p = system.particle(i);
        const int* own = r + 19 * i;  // x, y, x again, mass, then blue, green, red of each colour
        EXPECT_EQ(p.position[0], own[2] % 10 - 10);
        EXPECT_EQ(p.position[1], own[1] % 10 - 10);
        EXPECT_EQ(p.position[2], 0.0f);
        EXPECT_EQ(p.mass, own[3] % 10 + 500);
        EXPECT_EQ(p.massLimit, p.mass + 2000);
        for (int c = 0; c < 5; ++c) {
            const auto value = applied(p.material, colours[c]);
            EXPECT_FLOAT_EQ(value[0], (own[6 + 3 * c] % 10) / 10.0f) << i << " " << c;
            if (colours[c] == GL_SHININESS) continue;  // only the exponent reaches OpenGL
            EXPECT_FLOAT_EQ(value[1], (own[5 + 3 * c] % 10) / 10.0f) << i << " " << c;
            EXPECT_FLOAT_EQ(value[2], (own[4 + 3 * c] % 10) / 10.0f) << i << " " << c;
            EXPECT_EQ(value[3], 1.0f);
        }
    }
}

TEST_F(ParticleSystemTest, DrawBindsTheTextureAndShowsEachParticleMassOver200Wide) {
    ParticleSystem empty;
    glcalls::start();
    empty.draw();
    glcalls::stop();
    EXPECT_EQ(glcalls::count("glBindTexture"), 1);
    EXPECT_EQ(glcalls::count("glBegin"), 0);

    clearShowView();
    glDisable(GL_LIGHTING);
    ParticleSystem system;
    system.setParticleCount(1);
    Particle& p = system.particle(0);
    p.position[0] = p.position[1] = p.position[2] = 0;
    p.mass = 400;  // two units wide
    // The show's view already moves the world 10 units towards the eye: this
    // puts the particle 10 units in front of it. There a 65-degree view
    // stretched over 640x480 maps two units to 2 / (10 tan 32.5) of the half
    // width and half height: the square spans 100 by 75 pixels right of and
    // above the centre.
    glTranslatef(0, 0, -20);
    system.draw();
    EXPECT_GT(testsupport::pixelAt(325, 235)[0], 0);
    EXPECT_GT(testsupport::pixelAt(415, 170)[0], 0);
    for (auto [x, y] : {std::array<int, 2>{315, 235}, {325, 245}, {425, 235}, {325, 160}}) {
        EXPECT_EQ(testsupport::pixelAt(x, y)[0], 0) << x << " " << y;
    }
}

TEST_F(ParticleSystemTest, UpdatePullsLightParticlesTowardsTheHeavyAttractor) {
    ParticleSystem system;
    system.setParticleCount(2);
    Particle& light = system.particle(1);
    const std::array<float, 3> before{light.position[0], light.position[1], light.position[2]};
    // Particle 0 is placed afresh (z, y, x) before each particle reacts;
    // particle 1 reacts to the second placement.
    std::srand(5);
    for (int i = 0; i < 3; ++i) showRandom();
    float attractor[3];
    for (int axis = 2; axis >= 0; --axis) attractor[axis] = static_cast<float>(showRandom() % 500 - 200);
    std::srand(5);
    system.update();

    float distanceBefore = 0, distanceAfter = 0;
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(light.target[axis], attractor[axis]);
        distanceBefore += std::pow(attractor[axis] - before[axis], 2.0f);
        distanceAfter += std::pow(attractor[axis] - light.position[axis], 2.0f);
    }
    EXPECT_LT(distanceAfter, distanceBefore);
    // Pulling, the attractor gained mass past its limit and was respawned.
    const Particle& respawned = system.particle(0);
    EXPECT_GE(respawned.mass, 1400.0f);
    EXPECT_LT(respawned.mass, 6400.0f);
    for (float t : respawned.target) EXPECT_EQ(t, 0.0f);
    EXPECT_EQ(std::fmod(respawned.position[0], 10.0f), 0.0f);
    EXPECT_GE(respawned.position[0], 0.0f);
    EXPECT_LE(respawned.position[0], 90.0f);
}
