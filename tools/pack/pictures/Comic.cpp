// The alien section's little comic, three tall panels shown one after
// another in a 100x480 strip, and the explosion of its finale.
// Story: the alien asks for more volume; the speaker obliges; the alien is
// blown off its feet (and then everything explodes, in boom.jpg).
#include <algorithm>
#include <cmath>
#include <string>

#include "pack/pictures/Effects.h"
#include "pack/pictures/PictureKit.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kScale = 2;
constexpr int kPanelW = 100 * kScale;
constexpr int kPanelH = 480 * kScale;
constexpr float kInk = 2.5f * kScale;
const Colour kBlack{0.03f, 0.02f, 0.05f, 1};
const Colour kWhite{0.97f, 0.96f, 0.92f, 1};
const Colour kAlienGreen{0.45f, 0.85f, 0.30f, 1};

// Ben-Day dots on a 45-degree grid, growing towards the bottom of the panel.
void halftone(Canvas& canvas, const Colour& paper, const Colour& dots) {
    const float pitch = 7.0f * kScale;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float u = (x + y) / (pitch * 1.4142f);
            const float v = (x - y) / (pitch * 1.4142f);
            const float du = u - std::round(u);
            const float dv = v - std::round(v);
            const float d = std::sqrt(du * du + dv * dv) * pitch;
            const float radius = pitch * (0.12f + 0.3f * y / canvas.height());
            canvas.at(x, y) = mix(paper, dots, std::clamp(radius - d + 0.5f, 0.0f, 1.0f));
        }
    }
}

// A white gutter with an ink frame, as on a comic page.
void frame(Canvas& canvas) {
    const float m = 5.0f * kScale;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float inside = -boxDistance(x + 0.5f, y + 0.5f, canvas.width() / 2.0f, canvas.height() / 2.0f,
                                              canvas.width() / 2.0f - m, canvas.height() / 2.0f - m, 0);
            if (inside < 0)
                canvas.at(x, y) = mix(canvas.at(x, y), kWhite, std::clamp(0.5f - inside, 0.0f, 1.0f));
            else if (inside < kInk)
                canvas.at(x, y) = kBlack;
        }
    }
}

void caption(PictureKit& kit, Canvas& canvas, const std::string& text) {
    const Bounds box{8.0f * kScale, 10.0f * kScale, kPanelW - 8.0f * kScale, 44.0f * kScale};
    inkShape(
        canvas, {1.0f, 0.88f, 0.35f, 1},
        [&](float x, float y) {
            return boxDistance(x, y, (box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2, (box.x1 - box.x0) / 2,
                               (box.y1 - box.y0) / 2, 0);
        },
        box, kInk * 0.7f);
    Mask letters(canvas.width(), canvas.height());
    kit.type.set(letters, Face::SansBoldOblique, text,
                 {box.x0 + 4 * kScale, box.y0 + 3 * kScale, box.x1 - box.x0 - 8 * kScale, box.y1 - box.y0 - 6 * kScale},
                 18.0f * kScale);
    fillMask(canvas, letters, kBlack);
}

// A rounded speech balloon with its tail pointing down at (tailX, tailY).
void balloon(PictureKit& kit, Canvas& canvas, float cy, const std::string& line1, const std::string& line2, float tailX,
             float tailY) {
    const float cx = kPanelW / 2.0f;
    const float rx = 42.0f * kScale;
    const float ry = 30.0f * kScale;
    const Distance shape = [&](float x, float y) {
        const float body = ellipseDistance(x, y, cx, cy, rx, ry);
        // The tail: a wedge narrowing from the balloon to its point.
        const float ax = cx - 4 * kScale, ay = cy + ry * 0.5f;
        const float dx = tailX - ax, dy = tailY - ay;
        const float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        const float tail = std::hypot(x - ax - dx * t, y - ay - dy * t) - (1.0f - t) * 9.0f * kScale;
        return std::min(body, tail);
    };
    inkShape(canvas, kWhite, shape, {cx - rx, cy - ry, cx + rx, std::max(cy + ry, tailY)}, kInk);
    Mask letters(canvas.width(), canvas.height());
    kit.type.set(letters, Face::SansBold, line1,
                 {cx - rx + 10 * kScale, cy - 19 * kScale, 2 * rx - 20 * kScale, 16.0f * kScale}, 17.0f * kScale);
    kit.type.set(letters, Face::SansBold, line2,
                 {cx - rx + 10 * kScale, cy + 2 * kScale, 2 * rx - 20 * kScale, 16.0f * kScale}, 17.0f * kScale);
    fillMask(canvas, letters, kBlack);
}

struct AlienPose {
    float cx, feetY;  // where it stands
    float lean;       // radians, positive leans right (blown away)
    bool dizzy;       // spiral eyes
    float size;
};

struct Point {
    float x, y;
};

// Returns the middle of the head, for whatever goes round it.
Point alien(Canvas& canvas, const AlienPose& pose) {
    const float s = kScale * pose.size;
    const float c = std::cos(pose.lean);
    const float n = std::sin(pose.lean);
    // Points are given upright relative to the feet and then leaned.
    auto at = [&](float dx, float dy, float& x, float& y) {
        x = pose.cx + dx * c - dy * n;
        y = pose.feetY + dx * n + dy * c;
    };
    float x0, y0, x1, y1;
    // Legs and arms first, so the body's ink line covers their joints.
    for (float side : {-1.0f, 1.0f}) {
        at(side * 8 * s, -40 * s, x0, y0);
        at(side * 14 * s, 0, x1, y1);
        inkShape(
            canvas, kAlienGreen, [=](float x, float y) { return segmentDistance(x, y, x0, y0, x1, y1, 7 * s); },
            {std::min(x0, x1) - 8 * s, std::min(y0, y1) - 8 * s, std::max(x0, x1) + 8 * s, std::max(y0, y1) + 8 * s},
            kInk);
        at(side * 14 * s, -70 * s, x0, y0);
        at(side * (pose.dizzy ? 36 : 30) * s, (pose.dizzy ? -100 : side < 0 ? -52 : -96) * s, x1, y1);
        inkShape(
            canvas, kAlienGreen, [=](float x, float y) { return segmentDistance(x, y, x0, y0, x1, y1, 6 * s); },
            {std::min(x0, x1) - 8 * s, std::min(y0, y1) - 8 * s, std::max(x0, x1) + 8 * s, std::max(y0, y1) + 8 * s},
            kInk);
    }
    at(0, -62 * s, x0, y0);
    inkShape(
        canvas, kAlienGreen, [=](float x, float y) { return ellipseDistance(x, y, x0, y0, 17 * s, 28 * s); },
        {x0 - 20 * s, y0 - 30 * s, x0 + 20 * s, y0 + 30 * s}, kInk);
    // Antennae with glowing tips.
    for (float side : {-1.0f, 1.0f}) {
        at(side * 9 * s, -130 * s, x0, y0);
        at(side * (pose.dizzy ? 26 : 18) * s, -158 * s, x1, y1);
        inkShape(
            canvas, kAlienGreen, [=](float x, float y) { return segmentDistance(x, y, x0, y0, x1, y1, 3 * s); },
            {std::min(x0, x1) - 6 * s, std::min(y0, y1) - 6 * s, std::max(x0, x1) + 6 * s, std::max(y0, y1) + 6 * s},
            kInk * 0.6f);
        inkShape(
            canvas, {1.0f, 0.35f, 0.6f, 1}, [=](float x, float y) { return circleDistance(x, y, x1, y1, 5 * s); },
            {x1 - 6 * s, y1 - 6 * s, x1 + 6 * s, y1 + 6 * s}, kInk * 0.6f);
    }
    // The big head and its eyes.
    at(0, -112 * s, x0, y0);
    inkShape(
        canvas, kAlienGreen, [=](float x, float y) { return ellipseDistance(x, y, x0, y0, 30 * s, 24 * s); },
        {x0 - 32 * s, y0 - 26 * s, x0 + 32 * s, y0 + 26 * s}, kInk);
    for (float side : {-1.0f, 1.0f}) {
        at(side * 12 * s, -116 * s, x1, y1);
        inkShape(
            canvas, kWhite, [=](float x, float y) { return ellipseDistance(x, y, x1, y1, 9 * s, 11 * s); },
            {x1 - 10 * s, y1 - 12 * s, x1 + 10 * s, y1 + 12 * s}, kInk * 0.6f);
        if (pose.dizzy) {
            // A spiral: distance to the nearest turn of r = k * angle.
            const float px = x1, py = y1;
            paintShape(canvas, kBlack,
                       [=](float x, float y) {
                           const float r = std::hypot(x - px, y - py);
                           const float a = std::atan2(y - py, x - px) + kPi;
                           const float turn = 3.2f * s;
                           const float offset = std::fmod(r - a / (2 * kPi) * turn + 4 * turn, turn);
                           return r > 8 * s ? 1e3f : std::min(offset, turn - offset) - 0.6f * s;
                       },
                       {px - 9 * s, py - 9 * s, px + 9 * s, py + 9 * s});
        } else {
            paintShape(canvas, kBlack,
                       [=](float x, float y) { return circleDistance(x, y, x1 + 2 * s, y1 + 2 * s, 4.5f * s); },
                       {x1 - 6 * s, y1 - 6 * s, x1 + 8 * s, y1 + 8 * s});
        }
    }
    // Mouth: an open "o" when shouting or amazed.
    at(0, -98 * s, x0, y0);
    inkShape(
        canvas, {0.35f, 0.05f, 0.1f, 1}, [=](float x, float y) { return ellipseDistance(x, y, x0, y0, 5 * s, 6 * s); },
        {x0 - 7 * s, y0 - 8 * s, x0 + 7 * s, y0 + 8 * s}, kInk * 0.5f);
    Point head{};
    at(0, -112 * s, head.x, head.y);
    return head;
}

void speaker(Canvas& canvas, float cx, float top, float bottom, bool blasting) {
    const float s = kScale;
    const float halfW = 36 * s;
    const float cy = (top + bottom) / 2;
    inkShape(
        canvas, {0.22f, 0.14f, 0.10f, 1},
        [=](float x, float y) { return boxDistance(x, y, cx, cy, halfW, (bottom - top) / 2, 6 * s); },
        {cx - halfW, top, cx + halfW, bottom}, kInk);
    const float tweeterY = top + 26 * s;
    const float wooferY = bottom - 50 * s;
    inkShape(
        canvas, {0.12f, 0.12f, 0.14f, 1}, [=](float x, float y) { return circleDistance(x, y, cx, tweeterY, 12 * s); },
        {cx - 13 * s, tweeterY - 13 * s, cx + 13 * s, tweeterY + 13 * s}, kInk * 0.6f);
    const float woofer = blasting ? 31 * s : 28 * s;  // the cone pushed out
    inkShape(
        canvas, {0.12f, 0.12f, 0.14f, 1}, [=](float x, float y) { return circleDistance(x, y, cx, wooferY, woofer); },
        {cx - woofer, wooferY - woofer, cx + woofer, wooferY + woofer}, kInk * 0.6f);
    inkShape(
        canvas, {0.55f, 0.55f, 0.6f, 1}, [=](float x, float y) { return circleDistance(x, y, cx, wooferY, 9 * s); },
        {cx - 10 * s, wooferY - 10 * s, cx + 10 * s, wooferY + 10 * s}, kInk * 0.5f);
    if (!blasting) return;
    // Sound waves: ink arcs above the cabinet.
    for (int i = 1; i <= 3; ++i) {
        const float r = (20.0f + 16.0f * i) * s;
        paintShape(canvas, kBlack,
                   [=](float x, float y) {
                       const float ring = std::fabs(std::hypot(x - cx, y - top) - r) - 1.6f * s;
                       const float angle = std::atan2(top - y, std::fabs(x - cx));
                       return angle > 0.5f ? ring : 1e3f;
                   },
                   {cx - r - 2 * s, top - r - 2 * s, cx + r + 2 * s, top});
    }
}

// A jagged burst with a word in it.
void burst(PictureKit& kit, Canvas& canvas, float cx, float cy, float radius, const std::string& word) {
    const Distance star = [=](float x, float y) {
        const float a = std::atan2(y - cy, x - cx);
        const float spikes = std::fabs(std::sin(a * 6.5f + 0.3f));
        const float r = radius * (0.68f + 0.32f * spikes * spikes);
        return (std::hypot(x - cx, y - cy) - r) * 0.8f;
    };
    inkShape(canvas, {1.0f, 0.86f, 0.1f, 1}, star, {cx - radius, cy - radius, cx + radius, cy + radius}, kInk);
    Mask letters(canvas.width(), canvas.height());
    const auto [top, bottom] =
        kit.type.set(letters, Face::SansBoldOblique, word,
                     {cx - radius * 0.62f, cy - radius * 0.3f, radius * 1.24f, radius * 0.6f}, 40.0f * kScale);
    const Mask outline = letters.dilated(2 * kScale);
    fillMask(canvas, outline, kBlack);
    const Ramp fire{{{0.0f, {1.0f, 1.0f, 0.6f, 1}}, {1.0f, {0.95f, 0.15f, 0.05f, 1}}}};
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (letters.at(x, y) > 0)
                canvas.blend(x, y, fire(std::clamp((y - top) / (bottom - top), 0.0f, 1.0f)), letters.at(x, y));
}

// Little stars circling a dazed head.
void stars(Canvas& canvas, Point head) {
    const float s = kScale;
    for (int i = 0; i < 4; ++i) {
        const float a = i * kPi / 2 + 0.4f;
        const float x0 = head.x + std::cos(a) * 34 * s;
        const float y0 = head.y - 40 * s + std::sin(a) * 10 * s;
        const Distance star = [=](float x, float y) {
            const float t = std::atan2(y - y0, x - x0);
            const float r = 7 * s * (0.45f + 0.55f * std::pow(std::fabs(std::cos(t * 2.5f)), 3.0f));
            return (std::hypot(x - x0, y - y0) - r) * 0.8f;
        };
        inkShape(canvas, {1.0f, 0.95f, 0.3f, 1}, star, {x0 - 8 * s, y0 - 8 * s, x0 + 8 * s, y0 + 8 * s}, kInk * 0.5f);
    }
}

void panel(PictureKit& kit, const std::string& file, int index) {
    Random random = kit.pack.randomFor(file);
    Canvas canvas(kPanelW, kPanelH);
    const Colour paper[] = {{1.0f, 0.93f, 0.55f, 1}, {0.60f, 0.88f, 1.0f, 1}, {1.0f, 0.62f, 0.78f, 1}};
    const Colour dots[] = {{0.95f, 0.55f, 0.15f, 1}, {0.15f, 0.45f, 0.95f, 1}, {0.85f, 0.15f, 0.45f, 1}};
    halftone(canvas, paper[index], dots[index]);
    const float floorY = 440.0f * kScale;
    for (int y = static_cast<int>(floorY); y < kPanelH; ++y)
        for (int x = 0; x < kPanelW; ++x) canvas.at(x, y) = mix(canvas.at(x, y), {0.35f, 0.25f, 0.45f, 1}, 0.7f);
    for (int x = 0; x < kPanelW; ++x)
        for (int d = 0; d < static_cast<int>(kInk); ++d) canvas.at(x, static_cast<int>(floorY) + d) = kBlack;

    if (index == 0) {
        caption(kit, canvas, "one night...");
        balloon(kit, canvas, 100.0f * kScale, "turn it", "UP!", 44.0f * kScale, 196.0f * kScale);
        alien(canvas, {50.0f * kScale, floorY, 0.0f, false, 1.35f});
    } else if (index == 1) {
        caption(kit, canvas, "so it did.");
        burst(kit, canvas, 50.0f * kScale, 150.0f * kScale, 46.0f * kScale, "BOOM!");
        speaker(canvas, 50.0f * kScale, 270.0f * kScale, floorY, true);
    } else {
        caption(kit, canvas, "the end?");
        balloon(kit, canvas, 100.0f * kScale, "w-wow", "...", 40.0f * kScale, 190.0f * kScale);
        stars(canvas, alien(canvas, {30.0f * kScale, floorY, 0.22f, true, 1.3f}));
    }
    frame(canvas);
    grain(canvas, random, 0.02f);
    kit.saveJpg(file, canvas, 128, 512);
}

void explosion(PictureKit& kit) {
    Random random = kit.pack.randomFor("ting/boom.jpg");
    constexpr int kW = 640 * kScale;
    constexpr int kH = 480 * kScale;
    Canvas canvas(kW, kH, {0.0f, 0.0f, 0.0f, 1});
    starfield(canvas, random, 500, 0.7f);
    const TilingNoise noise(kit.pack.seedFor("ting/boom.jpg"), 8);
    const float cx = kW * 0.5f;
    const float cy = kH * 0.52f;
    const float radius = 200.0f * kScale;
    const Ramp fire{{{0.00f, {0.0f, 0.0f, 0.0f, 1}},
                     {0.15f, {0.25f, 0.04f, 0.02f, 1}},
                     {0.40f, {0.85f, 0.22f, 0.03f, 1}},
                     {0.65f, {1.00f, 0.60f, 0.10f, 1}},
                     {0.85f, {1.00f, 0.92f, 0.55f, 1}},
                     {1.00f, {1.00f, 1.00f, 0.95f, 1}}}};
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const float dx = x + 0.5f - cx;
            const float dy = y + 0.5f - cy;
            const float r = std::hypot(dx, dy) / radius;
            const float angle = (std::atan2(dy, dx) + kPi) / (2 * kPi);
            // Billows: noise in (angle, radius) pushes the edge in and out.
            const float billow = noise.fractal(angle, r * 0.35f, 5, 0.55f);
            const float heat = std::clamp(1.25f - r * (0.75f + 0.9f * billow), 0.0f, 1.0f);
            if (heat > 0) canvas.blend(x, y, fire(heat), std::min(1.0f, heat * 4));
            // The shock ring, thin and blue-white.
            const float ring = std::exp(-std::pow((r - 1.55f - 0.1f * billow) / 0.03f, 2.0f));
            canvas.add(x, y, {0.6f, 0.75f, 1.0f, 1}, ring * 0.6f);
        }
    }
    // Debris: glowing streaks flying outwards.
    for (int i = 0; i < 70; ++i) {
        const float a = random.range(0, 2 * kPi);
        const float r0 = random.range(0.7f, 1.2f) * radius;
        const float r1 = r0 + random.range(40, 160) * kScale;
        const float x0 = cx + std::cos(a) * r0, y0 = cy + std::sin(a) * r0;
        const float x1 = cx + std::cos(a) * r1, y1 = cy + std::sin(a) * r1;
        const float width = random.range(1.0f, 3.0f) * kScale;
        paintShape(canvas, {1.0f, 0.75f, 0.3f, 1},
                   [=](float x, float y) { return segmentDistance(x, y, x0, y0, x1, y1, width); },
                   {std::min(x0, x1) - 4, std::min(y0, y1) - 4, std::max(x0, x1) + 4, std::max(y0, y1) + 4});
    }
    Canvas glow = canvas.blurred(30.0f * kScale);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) canvas.add(x, y, glow.at(x, y), 0.6f);
    scanlines(canvas, 0.15f, 2 * kScale);
    grain(canvas, random, 0.03f);
    vignette(canvas, 0.4f);
    kit.saveJpg("ting/boom.jpg", canvas, 1024, 512);
}

}  // namespace

void writeComic(PictureKit& kit) {
    panel(kit, "ting/toon1.jpg", 0);
    panel(kit, "ting/toon2.jpg", 1);
    panel(kit, "ting/toon3.jpg", 2);
    explosion(kit);
}
