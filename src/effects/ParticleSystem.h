// A set of particles sharing one texture, drawn as small squares, each pulled
// towards whichever heavier particle pulls it hardest.
#pragma once

#include "platform/LiveInstances.h"

#include <vector>

#include "effects/Particle.h"
#include "render/Texture.h"

class ParticleSystem : platform::LiveInstances<ParticleSystem> {
public:
    ParticleSystem() = default;

    // Replaces the particles by n new ones, built in index order.
    void setParticleCount(int n);
    void loadTexture(const char* path);

    // One round of attraction: particle 0 becomes a heavy attractor at a
    // random place, and every particle reacts to every other one.
    void update();
    // Each particle as a square mass / 200 units wide at its position, in the
    // units of the current modelview matrix.
    void draw();

    // Every particle as it stands, to be put back by the player's seeks.
    const std::vector<Particle>& getParticles() const { return particles; }
    void setParticles(const std::vector<Particle>& saved) { particles = saved; }

    int getParticleCount() const { return static_cast<int>(particles.size()); }
    Particle& particle(int index) { return particles[index]; }
    const Particle& particle(int index) const { return particles[index]; }

private:
    std::vector<Particle> particles;
    Texture texture;
};
