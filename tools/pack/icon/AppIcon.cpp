#include "pack/icon/AppIcon.h"

#include <algorithm>

#include "pack/pictures/PictureFiles.h"
#include "pack/pictures/PictureKit.h"

Canvas appIcon(int size) {
    const int margin = size / 16;
    const int ball = size - 2 * margin;
    const Canvas sphere = goldSphereMap(ball);
    Canvas icon(size, size, {0, 0, 0, 0});
    // The share of each pixel inside the disc, from a grid of samples.
    constexpr int kSamples = 4;
    const float centre = ball / 2.0f;
    for (int y = 0; y < ball; ++y) {
        for (int x = 0; x < ball; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float dx = x + (sx + 0.5f) / kSamples - centre;
                    const float dy = y + (sy + 0.5f) / kSamples - centre;
                    if (dx * dx + dy * dy <= centre * centre) ++inside;
                }
            }
            Colour colour = sphere.at(x, ball - 1 - y);
            colour.a = static_cast<float>(inside) / (kSamples * kSamples);
            icon.at(margin + x, margin + y) = colour;
        }
    }
    return icon;
}

void writeAppIcon(const std::filesystem::path& path, int size) { writePng(path, appIcon(size)); }
