// Our own noise, so the pictures are the same bytes on every run and every
// standard library: a hashed lattice noise that tiles, summed into fractal
// noise.
#pragma once

#include <cstdint>

// Smooth value noise in [0, 1] on a lattice that repeats every `period`
// cells, so a texture built from it tiles seamlessly.
class TilingNoise {
public:
    TilingNoise(std::uint32_t seed, int period) : seed_(seed), period_(period) {}

    // x, y in lattice cells.
    float at(float x, float y) const;
    // Sum of `octaves` layers, each twice the frequency and `gain` the
    // amplitude of the last; u, v in [0, 1) over one tile. Result in [0, 1].
    float fractal(float u, float v, int octaves, float gain = 0.5f) const;

private:
    float lattice(int x, int y, int layer) const;
    float layered(float x, float y, int period, int layer) const;

    std::uint32_t seed_;
    int period_;
};
