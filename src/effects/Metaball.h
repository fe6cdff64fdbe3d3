// One ball of the metaball field: where it is, where it drifts, and how
// strongly it pulls the surface.
#pragma once

struct Metaball {
    float position[3];
    float velocity[3];
    float target[3];
    float retargetTimer;
    float strength;
};
