#include "pack/pictures/Noise.h"

#include <cmath>

namespace {

std::uint32_t hash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

int wrap(int value, int period) {
    const int r = value % period;
    return r < 0 ? r + period : r;
}

float smooth(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

float TilingNoise::lattice(int x, int y, int layer) const {
    const std::uint32_t h = hash(static_cast<std::uint32_t>(x) * 0x9E3779B1U ^
                                 hash(static_cast<std::uint32_t>(y) * 0x85EBCA77U ^ hash(seed_ + 977U * layer)));
    return static_cast<float>(h >> 8) / 16777215.0f;
}

float TilingNoise::layered(float x, float y, int period, int layer) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int x0 = wrap(static_cast<int>(fx), period);
    const int y0 = wrap(static_cast<int>(fy), period);
    const int x1 = wrap(x0 + 1, period);
    const int y1 = wrap(y0 + 1, period);
    const float tx = smooth(x - fx);
    const float ty = smooth(y - fy);
    const float top = lattice(x0, y0, layer) + (lattice(x1, y0, layer) - lattice(x0, y0, layer)) * tx;
    const float bottom = lattice(x0, y1, layer) + (lattice(x1, y1, layer) - lattice(x0, y1, layer)) * tx;
    return top + (bottom - top) * ty;
}

float TilingNoise::at(float x, float y) const { return layered(x, y, period_, 0); }

float TilingNoise::fractal(float u, float v, int octaves, float gain) const {
    float sum = 0;
    float amplitude = 1;
    float total = 0;
    int period = period_;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * layered(u * period, v * period, period, o);
        total += amplitude;
        amplitude *= gain;
        period *= 2;
    }
    return sum / total;
}
