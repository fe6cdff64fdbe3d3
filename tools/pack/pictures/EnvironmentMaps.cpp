// Reflections: env1.jpg is both the ship's sky-box sides and the chrome on
// the ship and speakers, so it is a horizon picture (sky, sharp horizon,
// bright ground below) that reads as chrome either way up. The gold and the
// blood-red maps are true sphere maps: each pixel is what a mirror ball
// reflects in that direction.
#include <algorithm>
#include <cmath>
#include <functional>

#include "pack/pictures/Effects.h"
#include "pack/pictures/PictureKit.h"

namespace {

constexpr float kPi = 3.14159265f;

struct Direction {
    float x, y, z;  // y up, the viewer looking down -z
};

using Environment = std::function<Colour(const Direction&)>;

// Texture row t grows downwards in the file, and sphere mapping gives upward
// reflections t above one half: the upper sky lands in the lower rows.
Canvas sphereMap(int size, const Environment& environment) {
    Canvas canvas(size, size);
    constexpr int kSamples = 3;  // per axis, so the rim is smooth
    for (int row = 0; row < size; ++row) {
        for (int x = 0; x < size; ++x) {
            Colour sum{0, 0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    float nx = (x + (sx + 0.5f) / kSamples) / size * 2 - 1;
                    float ny = (row + (sy + 0.5f) / kSamples) / size * 2 - 1;
                    const float r = std::sqrt(nx * nx + ny * ny);
                    if (r > 0.999f) {
                        nx *= 0.999f / r;
                        ny *= 0.999f / r;
                    }
                    const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
                    sum = sum + environment({2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1});
                }
            }
            canvas.at(x, row) = sum * (1.0f / (kSamples * kSamples));
        }
    }
    return canvas;
}

// A soft rectangular light in the sky, like a studio's light box.
float lightBox(const Direction& d, float azimuth, float elevation, float halfWidth, float halfHeight) {
    const float a = std::atan2(d.x, -d.z);
    const float e = std::asin(std::clamp(d.y, -1.0f, 1.0f));
    float da = std::fabs(a - azimuth);
    da = std::min(da, 2 * kPi - da);
    const float ax = std::max(0.0f, da - halfWidth) / 0.05f;
    const float ay = std::max(0.0f, std::fabs(e - elevation) - halfHeight) / 0.05f;
    return std::exp(-(ax * ax + ay * ay));
}

struct MetalEnvironment {
    Ramp sky;     // horizon (0) to zenith (1)
    Ramp ground;  // horizon (0) to nadir (1)
    Colour light;
    Colour horizonLine;
};

Colour metal(const MetalEnvironment& m, const Direction& d) {
    Colour c;
    if (d.y >= 0) {
        c = m.sky(std::pow(d.y, 0.6f));
        const float boxes = lightBox(d, 0.9f, 0.55f, 0.35f, 0.12f) + lightBox(d, -1.1f, 0.35f, 0.18f, 0.25f) +
                            0.7f * lightBox(d, 2.8f, 0.9f, 0.6f, 0.1f);
        c = mix(c, m.light, std::min(1.0f, boxes));
    } else {
        c = m.ground(std::pow(-d.y, 0.5f));
    }
    // The horizon: a hard dark line, the signature of a chrome reflection.
    const float line = std::exp(-std::pow(d.y / 0.035f, 2.0f));
    return mix(c, m.horizonLine, line * 0.9f);
}

void gold(PictureKit& kit) { kit.saveJpg("ting/kingThing.jpg", goldSphereMap(256), 256, 256); }

void blood(PictureKit& kit) {
    const MetalEnvironment m{
        Ramp{{{0.0f, {0.95f, 0.35f, 0.30f, 1}}, {0.45f, {0.55f, 0.02f, 0.04f, 1}}, {1.0f, {0.18f, 0.0f, 0.02f, 1}}}},
        Ramp{{{0.0f, {0.10f, 0.0f, 0.01f, 1}}, {0.6f, {0.40f, 0.02f, 0.04f, 1}}, {1.0f, {0.75f, 0.10f, 0.10f, 1}}}},
        {1.0f, 0.75f, 0.72f, 1},
        {0.04f, 0.0f, 0.0f, 1}};
    kit.saveJpg("ting/blod.jpg", sphereMap(256, [&](const Direction& d) { return metal(m, d); }), 256, 256);
}

void chromeHorizon(PictureKit& kit) {
    constexpr int kSize = 512;
    const float horizon = kSize * 0.52f;
    Canvas canvas(kSize, kSize);
    const Ramp sky{
        {{0.0f, {0.05f, 0.12f, 0.38f, 1}}, {0.6f, {0.35f, 0.58f, 0.90f, 1}}, {1.0f, {0.93f, 0.96f, 1.0f, 1}}}};
    const Ramp ground{
        {{0.0f, {0.08f, 0.08f, 0.05f, 1}}, {0.3f, {0.30f, 0.30f, 0.18f, 1}}, {1.0f, {0.80f, 0.74f, 0.58f, 1}}}};
    const TilingNoise ridge(kit.pack.seedFor("env1.jpg"), 4);
    const TilingNoise haze(kit.pack.seedFor("env1.jpg") + 5, 4);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize;
            const float py = y + 0.5f;
            Colour c;
            if (py < horizon) {
                c = sky(py / horizon);
                const float cloud = std::clamp((haze.fractal(u, py / kSize * 2, 5) - 0.5f) * 3.0f, 0.0f, 1.0f);
                c = mix(c, {0.95f, 0.97f, 1.0f, 1}, cloud * 0.35f * (py / horizon));
            } else {
                // Fields below the horizon: noise squashed flat by the distance.
                const float depth = (py - horizon) / (kSize - horizon);
                c = ground(depth);
                c = c * (0.85f + 0.3f * haze.fractal(u, 0.5f + depth * 1.5f, 5));
            }
            // Mountains along the horizon; the ridge tiles round the four sky-box sides.
            const float peak = horizon - 10 - 46 * std::pow(ridge.fractal(u, 0.5f, 5), 2.0f);
            if (py > peak && py < horizon)
                c = mix({0.07f, 0.07f, 0.12f, 1}, {0.22f, 0.25f, 0.35f, 1}, (py - peak) / (horizon - peak));
            const float line = std::exp(-std::pow((py - horizon) / 2.5f, 2.0f));
            c = mix(c, {1.0f, 1.0f, 1.0f, 1}, line * 0.8f);
            canvas.at(x, y) = c;
        }
    }
    kit.saveJpg("env1.jpg", canvas, kSize, kSize);
}

}  // namespace

Canvas goldSphereMap(int size) {
    const MetalEnvironment m{
        Ramp{{{0.0f, {1.00f, 0.86f, 0.45f, 1}}, {0.4f, {0.85f, 0.55f, 0.12f, 1}}, {1.0f, {0.35f, 0.18f, 0.02f, 1}}}},
        Ramp{{{0.0f, {0.22f, 0.10f, 0.01f, 1}}, {0.5f, {0.62f, 0.38f, 0.08f, 1}}, {1.0f, {0.95f, 0.72f, 0.30f, 1}}}},
        {1.0f, 0.98f, 0.85f, 1},
        {0.12f, 0.05f, 0.0f, 1}};
    return sphereMap(size, [&](const Direction& d) { return metal(m, d); });
}

void writeEnvironmentMaps(PictureKit& kit) {
    chromeHorizon(kit);
    gold(kit);
    blood(kit);
}
