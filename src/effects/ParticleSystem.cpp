#include "effects/ParticleSystem.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

#include "platform/ShowRandom.h"
#include "render/GeometryLeftOut.h"
#include "render/UnitQuad.h"

namespace {

constexpr float attractorMass = 5e9f;
// Step factor, in percent per move, of a particle pulled with a force equal
// to its own mass; weaker pulls move it proportionally slower. Every
// particle moves once per other particle in a round, so this stays small.
constexpr float fullPullStep = 0.01f;

float distanceBetween(const Particle& p, const Particle& q) {
    const float dx = q.position[0] - p.position[0];
    const float dy = q.position[1] - p.position[1];
    const float dz = q.position[2] - p.position[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

void ParticleSystem::setParticleCount(int n) {
    std::vector<Particle> fresh;
    fresh.reserve(n > 0 ? n : 0);
    for (int i = 0; i < n; ++i) fresh.emplace_back();
    particles = std::move(fresh);
}

void ParticleSystem::loadTexture(const char* path) {
    texture.setFormat(TextureFormat::Jpg);
    texture.load(path);
}

void ParticleSystem::update() {
    const int count = getParticleCount();
    for (int i = 0; i < count; ++i) {
        Particle& attractor = particles[0];
        attractor.mass = attractorMass;
        attractor.position[2] = static_cast<float>(showRandom() % 500 - 200);
        attractor.position[1] = static_cast<float>(showRandom() % 500 - 200);
        attractor.position[0] = static_cast<float>(showRandom() % 500 - 200);

        Particle& self = particles[i];
        float strongestPull = 0.0f;
        for (int j = 0; j < count; ++j) {
            if (j != i) {
                Particle& other = particles[j];
                if (self.mass >= other.mass) {
                    for (int axis = 0; axis < 3; ++axis) self.target[axis] = self.position[axis];
                    self.stepFactor = 0.0f;
                } else {
                    // Two particles on the same spot pull as if a unit apart.
                    const float pull = other.mass / std::fmax(distanceBetween(self, other), 1.0f);
                    if (pull > strongestPull) {
                        strongestPull = pull;
                        for (int axis = 0; axis < 3; ++axis) self.target[axis] = other.position[axis];
                        self.stepFactor = fullPullStep * std::fmin(pull / self.mass, 1.0f);
                        other.mass += 0.1f;
                        if (other.mass >= other.massLimit) other.respawn();
                    }
                }
            }
            self.moveTowardsTarget();
        }
    }
}

void ParticleSystem::draw() {
    texture.bind();
    for (Particle& particle : particles) {
        glPushMatrix();
        glTranslatef(particle.position[0], particle.position[1], particle.position[2]);
        particle.material.apply();
        const float size = particle.mass / 200.0f;
        glScalef(size, size, size);
        if (!geometryLeftOut()) drawTexturedUnitQuad();
        glPopMatrix();
        glLineWidth(5);
    }
}
