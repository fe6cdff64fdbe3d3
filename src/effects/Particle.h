// One textured square of a particle system: random colours, a mass that sets
// its size, and a target that it creeps towards. Construction and respawn
// draw from the C library generator in a fixed order, so a seeded run always
// yields the same particles.
#pragma once

#include "render/Material.h"

struct Particle {
    // Draws 19 rand() values: position, mass, then the material colours.
    Particle();

    // Back into play near the origin with a new mass and new colours.
    void respawn();
    // Covers stepFactor percent of the way to the target.
    void moveTowardsTarget();

    Material material;
    float stepFactor = 0.0f;
    float position[3] = {0.0f, 0.0f, 0.0f};
    float target[3] = {0.0f, 0.0f, 0.0f};
    float mass = 0.0f;
    float massLimit = 0.0f;  // a particle that grows this heavy is respawned
};
