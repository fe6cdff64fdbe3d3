#include "pack/pictures/Effects.h"

#include <algorithm>
#include <cmath>

void verticalGradient(Canvas& canvas, const Ramp& ramp) {
    for (int y = 0; y < canvas.height(); ++y) {
        const Colour c = ramp((y + 0.5f) / canvas.height());
        for (int x = 0; x < canvas.width(); ++x) canvas.at(x, y) = c;
    }
}

void radialGlow(Canvas& canvas, float cx, float cy, float radius, const Colour& colour, float strength) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            canvas.add(x, y, colour, strength * std::exp(-d * d * 2.5f));
        }
    }
}

void scanlines(Canvas& canvas, float darkness, int period) {
    for (int y = 0; y < canvas.height(); ++y) {
        if (y % period != period - 1) continue;
        for (int x = 0; x < canvas.width(); ++x) canvas.at(x, y) = canvas.at(x, y) * (1.0f - darkness);
    }
}

void grain(Canvas& canvas, Random& random, float amount) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float n = (random.uniform() - 0.5f) * amount;
            Colour& p = canvas.at(x, y);
            p.r += n;
            p.g += n;
            p.b += n;
        }
    }
}

void vignette(Canvas& canvas, float strength) {
    const float cx = canvas.width() / 2.0f;
    const float cy = canvas.height() / 2.0f;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float dx = (x + 0.5f - cx) / cx;
            const float dy = (y + 0.5f - cy) / cy;
            const float k = 1.0f - strength * std::min(1.0f, (dx * dx + dy * dy) * 0.5f);
            Colour& p = canvas.at(x, y);
            p.r *= k;
            p.g *= k;
            p.b *= k;
        }
    }
}

void checkerFloor(Canvas& canvas, float horizonY, const Colour& light, const Colour& dark, float squares) {
    const float cx = canvas.width() / 2.0f;
    const float depthScale = canvas.height() * 0.5f;
    for (int y = static_cast<int>(horizonY) + 1; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            float lit = 0;
            float fog = 0;
            for (int s = 0; s < 4; ++s) {
                const float sx = x + 0.25f + 0.5f * (s & 1);
                const float sy = y + 0.25f + 0.5f * (s >> 1);
                const float z = depthScale / std::max(0.5f, sy - horizonY);
                const float wx = (sx - cx) / depthScale * z;
                const int parity = static_cast<int>(std::floor(wx * squares / 4) + std::floor(z * squares / 4)) & 1;
                lit += parity ? 0.25f : 0.0f;
                fog += 0.25f * std::min(1.0f, z / 14.0f);
            }
            const Colour tile = mix(dark, light, lit);
            canvas.blend(x, y, tile, 1.0f - fog);
        }
    }
}

void starfield(Canvas& canvas, Random& random, int count, float brightness) {
    for (int i = 0; i < count; ++i) {
        const float x = random.range(0, static_cast<float>(canvas.width()));
        const float y = random.range(0, static_cast<float>(canvas.height()));
        const float b = brightness * std::pow(random.uniform(), 3.0f);
        const Colour tint{0.8f + random.range(0, 0.2f), 0.85f, 1.0f, 1.0f};
        const int reach = b > 0.6f * brightness ? 6 : 1;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const float d = std::hypot(dx + std::floor(x) + 0.5f - x, dy + std::floor(y) + 0.5f - y);
                float k = std::exp(-d * d * 1.5f);
                if (reach > 1 && (dx == 0 || dy == 0)) k += 0.5f * std::exp(-d * 0.6f);  // cross flare
                canvas.add(static_cast<int>(x) + dx, static_cast<int>(y) + dy, tint, b * k);
            }
        }
    }
}

void fillMask(Canvas& canvas, const Mask& mask, const Colour& colour, float opacity) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (mask.at(x, y) > 0) canvas.blend(x, y, colour, mask.at(x, y) * opacity);
}

void glowMask(Canvas& canvas, const Mask& mask, const Colour& colour, float radius, float strength) {
    const Mask soft = mask.blurred(radius);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) canvas.add(x, y, colour, soft.at(x, y) * strength);
}

void shadowMask(Canvas& canvas, const Mask& mask, int dx, int dy, float radius, float opacity) {
    fillMask(canvas, mask.shifted(dx, dy).blurred(radius), {0, 0, 0, 1}, opacity);
}

void chromeMask(Canvas& canvas, const Mask& mask, float top, float bottom, const Ramp& ramp, float bevel) {
    fillMask(canvas, mask.dilated(std::max(1, static_cast<int>(bevel * 0.6f))).blurred(1.0f), {0.02f, 0.02f, 0.05f, 1});
    const Mask relief = mask.blurred(bevel);
    const float span = std::max(1.0f, bottom - top);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float coverage = mask.at(x, y);
            if (coverage <= 0) continue;
            const float gx = relief.clampedAt(x + 1, y) - relief.clampedAt(x - 1, y);
            const float gy = relief.clampedAt(x, y + 1) - relief.clampedAt(x, y - 1);
            const float light = (gx + gy) * bevel * 1.2f;  // faces turned to the upper left catch the light
            Colour c = ramp(std::clamp((y - top) / span, 0.0f, 1.0f));
            if (light > 0) {
                c = mix(c, {1, 1, 1, 1}, std::min(0.8f, light));
            } else {
                c = c * std::max(0.25f, 1.0f + light);
            }
            canvas.blend(x, y, c, coverage);
        }
    }
}

Ramp chromeRamp() {
    return Ramp{{{0.00f, {0.16f, 0.25f, 0.60f, 1}},
                 {0.30f, {0.62f, 0.80f, 1.00f, 1}},
                 {0.49f, {0.98f, 0.99f, 1.00f, 1}},
                 {0.51f, {0.20f, 0.12f, 0.08f, 1}},
                 {0.66f, {0.52f, 0.34f, 0.22f, 1}},
                 {0.86f, {0.95f, 0.78f, 0.55f, 1}},
                 {1.00f, {1.00f, 0.96f, 0.88f, 1}}}};
}

Ramp goldRamp() {
    return Ramp{{{0.00f, {0.42f, 0.22f, 0.04f, 1}},
                 {0.35f, {1.00f, 0.82f, 0.38f, 1}},
                 {0.48f, {1.00f, 0.98f, 0.82f, 1}},
                 {0.52f, {0.45f, 0.26f, 0.05f, 1}},
                 {0.80f, {0.90f, 0.64f, 0.20f, 1}},
                 {1.00f, {1.00f, 0.90f, 0.60f, 1}}}};
}

void paintShape(Canvas& canvas, const Colour& colour, const Distance& distance, Bounds bounds, float grow) {
    const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x0 - grow - 1)));
    const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y0 - grow - 1)));
    const int x1 = std::min(canvas.width() - 1, static_cast<int>(std::ceil(bounds.x1 + grow + 1)));
    const int y1 = std::min(canvas.height() - 1, static_cast<int>(std::ceil(bounds.y1 + grow + 1)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float d = distance(x + 0.5f, y + 0.5f) - grow;
            const float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (coverage > 0) canvas.blend(x, y, colour, coverage);
        }
    }
}

void inkShape(Canvas& canvas, const Colour& fill, const Distance& distance, Bounds bounds, float line) {
    paintShape(canvas, {0.03f, 0.02f, 0.05f, 1}, distance, bounds, line);
    paintShape(canvas, fill, distance, bounds);
}

void maskShape(Mask& mask, const Distance& distance, Bounds bounds) {
    const int x0 = std::max(0, static_cast<int>(bounds.x0) - 1);
    const int y0 = std::max(0, static_cast<int>(bounds.y0) - 1);
    const int x1 = std::min(mask.width() - 1, static_cast<int>(bounds.x1) + 1);
    const int y1 = std::min(mask.height() - 1, static_cast<int>(bounds.y1) + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            mask.at(x, y) = std::max(mask.at(x, y), std::clamp(0.5f - distance(x + 0.5f, y + 0.5f), 0.0f, 1.0f));
}

float circleDistance(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float ellipseDistance(float x, float y, float cx, float cy, float rx, float ry) {
    // Scaled circle distance, corrected by the local stretch: close enough for drawing.
    const float nx = (x - cx) / rx;
    const float ny = (y - cy) / ry;
    const float k = std::hypot(nx, ny);
    if (k == 0) return -std::min(rx, ry);
    const float gradient = std::hypot(nx / rx, ny / ry) / k;
    return (k - 1.0f) / gradient;
}

float segmentDistance(float x, float y, float ax, float ay, float bx, float by, float thickness) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float length2 = dx * dx + dy * dy;
    const float t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - dx * t, py - dy * t) - thickness / 2;
}

float boxDistance(float x, float y, float cx, float cy, float halfW, float halfH, float corner) {
    const float qx = std::fabs(x - cx) - halfW + corner;
    const float qy = std::fabs(y - cy) - halfH + corner;
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - corner;
}
