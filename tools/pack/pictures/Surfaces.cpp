// Tiled surfaces of the 3D scenes: the marble chess board, the dark room,
// the scrolling sky, the grass and the smoke puff. Everything that repeats
// is built from tiling noise, so no seam shows where the tiles meet.
#include <algorithm>
#include <cmath>

#include "pack/pictures/Effects.h"
#include "pack/pictures/PictureKit.h"

namespace {

constexpr float kPi = 3.14159265f;

// Marble: bands bent by fractal noise, sharpened into thin veins.
float marbleVeins(const TilingNoise& noise, float u, float v, float bands) {
    const float turbulence = noise.fractal(u, v, 5);
    const float wave = std::sin((u * 0.7f + v * 1.3f) * bands * kPi + turbulence * 9.0f);
    return std::pow(1.0f - std::fabs(wave), 6.0f);
}

void chessBoard(PictureKit& kit) {
    constexpr int kSize = 512;
    constexpr int kSquare = kSize / 8;
    Canvas canvas(kSize, kSize);
    const TilingNoise noise(kit.pack.seedFor("chess.jpg"), 4);
    const TilingNoise cloud(kit.pack.seedFor("chess.jpg") + 1, 8);
    const Colour ivory{0.92f, 0.88f, 0.80f, 1}, ivoryVein{0.55f, 0.52f, 0.50f, 1};
    const Colour jade{0.05f, 0.16f, 0.13f, 1}, jadeVein{0.45f, 0.62f, 0.55f, 1};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize;
            const float v = (y + 0.5f) / kSize;
            const bool light = ((x / kSquare) + (y / kSquare)) % 2 == 0;
            const float vein = marbleVeins(noise, u, v, light ? 5.0f : 7.0f);
            const float mottle = cloud.fractal(u, v, 4) - 0.5f;
            Colour c = light ? mix(ivory, ivoryVein, vein * 0.8f) : mix(jade, jadeVein, vein * 0.6f);
            c = c * (1.0f + mottle * (light ? 0.25f : 0.6f));
            // Each square is a polished tile: a bright upper-left bevel, a dark
            // lower-right one and a thin grout line between tiles.
            const int lx = x % kSquare;
            const int ly = y % kSquare;
            const int edge = std::min({lx, ly, kSquare - 1 - lx, kSquare - 1 - ly});
            if (edge == 0) {
                c = c * 0.35f;
            } else if (edge < 4) {
                const bool upperLeft = std::min(lx, ly) == edge;
                c = upperLeft ? mix(c, {1, 1, 1, 1}, 0.35f / edge) : c * (1.0f - 0.35f / edge);
            }
            // A soft sheen across each tile, as if lit from one side of the room.
            c = c * (1.05f - 0.15f * (lx + ly) / (2.0f * kSquare));
            canvas.at(x, y) = c;
        }
    }
    kit.saveJpg("chess.jpg", canvas, kSize, kSize);
}

void darkWall(PictureKit& kit) {
    constexpr int kSize = 256;
    Canvas canvas(kSize, kSize);
    const TilingNoise noise(kit.pack.seedFor("black.jpg"), 4);
    const TilingNoise streaks(kit.pack.seedFor("black.jpg") + 7, 2);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize;
            const float v = (y + 0.5f) / kSize;
            const float n = noise.fractal(u, v, 5, 0.6f);
            const float brushed = streaks.fractal(u * 0.25f, v * 8.0f, 3);
            const float level = 0.02f + 0.09f * n * n + 0.03f * brushed;
            canvas.at(x, y) = {level * 0.9f, level * 0.92f, level * 1.15f, 1};
        }
    }
    kit.saveJpg("black.jpg", canvas, kSize, kSize);
}

void clouds(PictureKit& kit) {
    constexpr int kSize = 512;
    Canvas canvas(kSize, kSize);
    const TilingNoise noise(kit.pack.seedFor("sky.jpg"), 4);
    const TilingNoise detail(kit.pack.seedFor("sky.jpg") + 3, 16);
    const Colour deep{0.12f, 0.30f, 0.68f, 1}, light{0.45f, 0.66f, 0.93f, 1};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize;
            const float v = (y + 0.5f) / kSize;
            const float n = noise.fractal(u, v, 6, 0.55f);
            const float cover = std::clamp((n - 0.45f) * 3.2f, 0.0f, 1.0f);
            const float shade = 0.75f + 0.25f * detail.fractal(u, v, 3);
            Colour sky = mix(deep, light, noise.at(u * 4 + 0.5f, v * 4 + 0.5f));
            const Colour cloud{0.97f * shade, 0.96f * shade, 1.0f * shade, 1};
            canvas.at(x, y) = mix(sky, cloud, cover * cover * (3 - 2 * cover));
        }
    }
    kit.saveJpg("sky.jpg", canvas, kSize, kSize);
}

void grass(PictureKit& kit) {
    constexpr int kSize = 512;
    Canvas canvas(kSize, kSize);
    const TilingNoise noise(kit.pack.seedFor("grass.jpg"), 4);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float n = noise.fractal((x + 0.5f) / kSize, (y + 0.5f) / kSize, 5);
            canvas.at(x, y) = mix({0.05f, 0.14f, 0.03f, 1}, {0.16f, 0.34f, 0.07f, 1}, n);
        }
    }
    // Blades: short tapering strokes in many greens, wrapped round the
    // edges so the tile repeats without a seam.
    Random random = kit.pack.randomFor("grass.jpg");
    for (int i = 0; i < 9000; ++i) {
        const float x = random.range(0, kSize);
        const float y = random.range(0, kSize);
        const float angle = random.range(-0.5f, 0.5f) - kPi / 2;
        const float length = random.range(6, 18);
        const float width = random.range(1.2f, 2.4f);
        const Colour blade =
            mix({0.10f, 0.30f, 0.05f, 1}, {0.45f, 0.70f, 0.18f, 1}, random.uniform()) * random.range(0.7f, 1.1f);
        const float tx = x + std::cos(angle) * length;
        const float ty = y + std::sin(angle) * length;
        for (int wrapY = -1; wrapY <= 1; ++wrapY) {
            for (int wrapX = -1; wrapX <= 1; ++wrapX) {
                const float ox = wrapX * static_cast<float>(kSize);
                const float oy = wrapY * static_cast<float>(kSize);
                const Bounds bounds{std::min(x, tx) + ox - 3, std::min(y, ty) + oy - 3, std::max(x, tx) + ox + 3,
                                    std::max(y, ty) + oy + 3};
                if (bounds.x1 < 0 || bounds.y1 < 0 || bounds.x0 >= kSize || bounds.y0 >= kSize) continue;
                paintShape(
                    canvas, blade,
                    [&](float px, float py) {
                        return segmentDistance(px, py, x + ox, y + oy, tx + ox, ty + oy, width);
                    },
                    bounds);
            }
        }
    }
    kit.saveJpg("grass.jpg", canvas, kSize, kSize);
}

void smokePuff(PictureKit& kit) {
    constexpr int kSize = 128;
    Canvas canvas(kSize, kSize);
    const TilingNoise noise(kit.pack.seedFor("smoke.jpg"), 4);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f) / kSize * 2 - 1;
            const float dy = (y + 0.5f) / kSize * 2 - 1;
            const float falloff = std::clamp(1.0f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
            const float billow = 0.55f + 0.6f * noise.fractal((x + 0.5f) / kSize, (y + 0.5f) / kSize, 5);
            const float level = std::min(1.0f, falloff * falloff * billow * 1.4f);
            canvas.at(x, y) = {level * 0.95f, level * 0.95f, level, 1};
        }
    }
    kit.saveJpg("smoke.jpg", canvas, kSize, kSize);
}

}  // namespace

void writeSurfaces(PictureKit& kit) {
    chessBoard(kit);
    darkWall(kit);
    clouds(kit);
    grass(kit);
    smokePuff(kit);
}
