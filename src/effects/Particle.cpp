#include "effects/Particle.h"

#include <GL/gl.h>

#include <cstdlib>

#include "platform/ShowRandom.h"

namespace {

// One of 0, 0.1, ..., 0.9.
float randomTenth() { return static_cast<float>((showRandom() % 10) / 10.0); }

struct Colour {
    float r, g, b;
};

// Blue is drawn first, red last.
Colour randomColour() {
    Colour colour{};
    colour.b = randomTenth();
    colour.g = randomTenth();
    colour.r = randomTenth();
    return colour;
}

void randomiseMaterial(Material& material) {
    Colour c = randomColour();
    material.setAmbient(c.r, c.g, c.b, 1.0f);
    c = randomColour();
    material.setDiffuse(c.r, c.g, c.b, 1.0f);
    c = randomColour();
    material.setEmission(c.r, c.g, c.b, 1.0f);
    material.setFace(GL_BACK);
    c = randomColour();
    material.setShininess(c.r, c.g, c.b, 1.0f);
    c = randomColour();
    material.setSpecular(c.r, c.g, c.b, 1.0f);
}

}  // namespace

Particle::Particle() {
    // The third draw lands on x again, so z stays 0.
    position[0] = static_cast<float>(showRandom() % 10 - 10);
    position[1] = static_cast<float>(showRandom() % 10 - 10);
    position[0] = static_cast<float>(showRandom() % 10 - 10);
    mass = static_cast<float>(showRandom() % 10 + 500);
    massLimit = mass + 2000.0f;
    randomiseMaterial(material);
}

void Particle::respawn() {
    for (float& component : target) component = 0.0f;
    position[0] = static_cast<float>(showRandom() % 10 * 10);
    position[1] = static_cast<float>(showRandom() % 10 * 10);
    position[0] = static_cast<float>(showRandom() % 10 * 10);
    mass = static_cast<float>(showRandom() % 5000 + 1400);
    randomiseMaterial(material);
}

void Particle::moveTowardsTarget() {
    for (int axis = 0; axis < 3; ++axis) position[axis] += (target[axis] - position[axis]) * stepFactor / 100.0f;
}
