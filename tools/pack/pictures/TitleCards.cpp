// Title cards and logo strips. Each is composed at twice its on-screen size
// (full screen is 640x480), so lettering is laid out for the rectangle the
// show stretches it over, then resampled to the file's power-of-two size.
#include <algorithm>
#include <cmath>
#include <string>

#include "pack/pictures/Effects.h"
#include "pack/pictures/PictureKit.h"

namespace {

constexpr int kScale = 2;
constexpr int kScreenW = 640 * kScale;
constexpr int kScreenH = 480 * kScale;

struct CardStyle {
    Colour top, bottom;  // background gradient
    Colour accent;       // glow behind and around the title
    Colour floorLight, floorDark;
};

void cardBackground(Canvas& canvas, Random& random, const CardStyle& style, bool floor) {
    verticalGradient(canvas, Ramp{{{0.0f, style.top}, {0.62f, style.bottom}, {1.0f, style.bottom * 0.6f}}});
    starfield(canvas, random, 260, 0.8f);
    radialGlow(canvas, canvas.width() * 0.5f, canvas.height() * 0.45f, canvas.width() * 0.45f, style.accent, 0.35f);
    if (floor) checkerFloor(canvas, canvas.height() * 0.64f, style.floorLight, style.floorDark, 1.6f);
}

void finish(Canvas& canvas, Random& random) {
    scanlines(canvas, 0.18f, 2 * kScale);
    grain(canvas, random, 0.035f);
    vignette(canvas, 0.55f);
}

// A horizontal flare through the title: the lens streak of the period.
void flare(Canvas& canvas, float y, const Colour& colour) {
    const float cx = canvas.width() * 0.5f;
    for (int py = 0; py < canvas.height(); ++py) {
        const float dy = (py + 0.5f - y) / (3.0f * kScale);
        const float vertical = std::exp(-dy * dy);
        if (vertical < 0.003f) continue;
        for (int px = 0; px < canvas.width(); ++px) {
            const float dx = (px + 0.5f - cx) / (canvas.width() * 0.35f);
            canvas.add(px, py, colour, 0.55f * vertical * std::exp(-dx * dx));
        }
    }
}

void chessCard(PictureKit& kit, const std::string& file, const std::string& title, const std::string& act,
               const CardStyle& style) {
    Random random = kit.pack.randomFor(file);
    Canvas canvas(kScreenW, kScreenH);
    cardBackground(canvas, random, style, true);

    Mask small(kScreenW, kScreenH);
    kit.type.set(small, Face::SansBold, "q u i l l o r y   p r e s e n t s",
                 {0, 150.0f * kScale, kScreenW, 18.0f * kScale}, 18.0f * kScale);
    fillMask(canvas, small, {0.75f, 0.78f, 0.9f, 1});

    Mask letters(kScreenW, kScreenH);
    const auto [top, bottom] =
        kit.type.set(letters, Face::SerifBoldItalic, title,
                     {40.0f * kScale, 175.0f * kScale, 560.0f * kScale, 110.0f * kScale}, 150.0f * kScale);
    glowMask(canvas, letters, style.accent, 22.0f * kScale, 1.4f);
    shadowMask(canvas, letters, 5 * kScale, 6 * kScale, 4.0f * kScale, 0.8f);
    chromeMask(canvas, letters, top, bottom, chromeRamp(), 3.0f * kScale);
    flare(canvas, (top + bottom) / 2 + 8.0f * kScale, style.accent * 0.8f + Colour{0.3f, 0.3f, 0.3f, 0});

    Mask actMask(kScreenW, kScreenH);
    kit.type.set(actMask, Face::Serif, act, {0, 305.0f * kScale, kScreenW, 22.0f * kScale}, 22.0f * kScale);
    glowMask(canvas, actMask, style.accent, 6.0f * kScale, 0.8f);
    fillMask(canvas, actMask, {1, 0.97f, 0.9f, 1});

    finish(canvas, random);
    kit.saveJpg(file, canvas, 1024, 512);
}

void planet(Canvas& canvas, float cx, float cy, float r) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float dx = (x + 0.5f - cx) / r;
            const float dy = (y + 0.5f - cy) / r;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < 1.0f) {
                const float nz = std::sqrt(1 - d * d);
                const float lit = std::clamp(0.15f + 0.85f * (-0.6f * dx - 0.5f * dy + 0.6f * nz), 0.0f, 1.0f);
                const float bands = 0.5f + 0.5f * std::sin(dy * 14 + std::sin(dx * 5) * 1.5f);
                Colour c = mix({0.25f, 0.12f, 0.35f, 1}, {0.85f, 0.55f, 0.40f, 1}, bands * 0.6f + 0.2f);
                canvas.blend(x, y, c * lit, std::clamp((1.0f - d) * r, 0.0f, 1.0f));
            }
            // Atmosphere: a thin glow hugging the lit rim.
            const float rim = std::exp(-std::pow((d - 1.0f) * r / (6.0f * kScale), 2.0f));
            canvas.add(x, y, {0.35f, 0.6f, 1.0f, 1}, rim * std::clamp(0.5f - 0.6f * dx - 0.4f * dy, 0.0f, 1.0f));
        }
    }
}

void shipTitle(PictureKit& kit) {
    Random random = kit.pack.randomFor("ting/gsg.jpg");
    Canvas canvas(kScreenW, kScreenH);
    verticalGradient(canvas, Ramp{{{0.0f, {0.0f, 0.0f, 0.03f, 1}}, {1.0f, {0.03f, 0.02f, 0.10f, 1}}}});
    starfield(canvas, random, 900, 1.0f);
    planet(canvas, 470.0f * kScale, 520.0f * kScale, 230.0f * kScale);

    Mask letters(kScreenW, kScreenH);
    const auto [top, bottom] = kit.type.set(letters, Face::SansBoldOblique, "G.S.G",
                                            {60.0f * kScale, 110.0f * kScale, 520.0f * kScale, 130.0f * kScale},
                                            170.0f * kScale, Typesetter::Align::Centre, 0.04f);
    glowMask(canvas, letters, {0.2f, 0.5f, 1.0f, 1}, 26.0f * kScale, 1.3f);
    shadowMask(canvas, letters, 6 * kScale, 7 * kScale, 5.0f * kScale, 0.8f);
    chromeMask(canvas, letters, top, bottom, chromeRamp(), 3.5f * kScale);
    flare(canvas, (top + bottom) / 2, {0.5f, 0.7f, 1.0f, 1});

    Mask subtitle(kScreenW, kScreenH);
    kit.type.set(subtitle, Face::SansBold, "G A L A C T I C   S P A C E   G L I D E R",
                 {0, 262.0f * kScale, kScreenW, 20.0f * kScale}, 20.0f * kScale);
    glowMask(canvas, subtitle, {0.2f, 0.5f, 1.0f, 1}, 5.0f * kScale, 0.9f);
    fillMask(canvas, subtitle, {0.92f, 0.96f, 1.0f, 1});

    finish(canvas, random);
    kit.saveJpg("ting/gsg.jpg", canvas, 1024, 512);
}

// The 640x100 greeting strip across the top: copper bars behind one line.
void applause(PictureKit& kit) {
    constexpr int kW = 640 * kScale;
    constexpr int kH = 100 * kScale;
    Random random = kit.pack.randomFor("ting/applause.jpg");
    Canvas canvas(kW, kH, {0.01f, 0.0f, 0.03f, 1});
    const Colour bars[] = {{0.9f, 0.2f, 0.5f, 1},
                           {0.2f, 0.5f, 1.0f, 1},
                           {1.0f, 0.7f, 0.1f, 1},
                           {0.3f, 0.9f, 0.4f, 1},
                           {0.7f, 0.3f, 1.0f, 1}};
    for (int i = 0; i < 5; ++i) {
        const float centre = kH * (0.1f + 0.2f * i);
        for (int y = 0; y < kH; ++y) {
            const float d = (y + 0.5f - centre) / (9.0f * kScale);
            const float profile = std::max(0.0f, 1.0f - d * d);
            for (int x = 0; x < kW; ++x) canvas.add(x, y, bars[i], 0.55f * profile * profile);
        }
    }
    Mask letters(kW, kH);
    const auto [top, bottom] =
        kit.type.set(letters, Face::SansBoldOblique, "greetings to all party people!",
                     {16.0f * kScale, 22.0f * kScale, 608.0f * kScale, 56.0f * kScale}, 44.0f * kScale);
    shadowMask(canvas, letters, 2 * kScale, 3 * kScale, 2.0f * kScale, 0.9f);
    glowMask(canvas, letters, {1.0f, 1.0f, 1.0f, 1}, 6.0f * kScale, 0.5f);
    chromeMask(canvas, letters, top, bottom, goldRamp(), 1.5f * kScale);
    scanlines(canvas, 0.2f, 2 * kScale);
    grain(canvas, random, 0.03f);
    kit.saveJpg("ting/applause.jpg", canvas, 1024, 128);
}

// A vertical strip at the left edge: composed lying on its side, with the
// lettering running left to right, then turned to read upwards.
Canvas stripLyingDown(int screenWidth, const Colour& edge) {
    Canvas canvas(480 * kScale, screenWidth * kScale);
    verticalGradient(
        canvas,
        Ramp{{{0.0f, {0.02f, 0.01f, 0.06f, 1}}, {0.5f, {0.07f, 0.04f, 0.14f, 1}}, {1.0f, {0.02f, 0.01f, 0.06f, 1}}}});
    // A bright rule along the strip's inner edge (the right-hand one, once turned).
    for (int x = 0; x < canvas.width(); ++x) {
        for (int d = 0; d < 3 * kScale; ++d) canvas.add(x, canvas.height() - 1 - d, edge, 0.9f - 0.25f * d / kScale);
    }
    return canvas;
}

void quillory(PictureKit& kit) {
    Random random = kit.pack.randomFor("ting/quillory.jpg");
    Canvas canvas = stripLyingDown(100, {0.8f, 0.5f, 1.0f, 1});
    Mask letters(canvas.width(), canvas.height());
    const auto [top, bottom] =
        kit.type.set(letters, Face::SerifBoldItalic, "Quillory",
                     {20.0f * kScale, 14.0f * kScale, 440.0f * kScale, 72.0f * kScale}, 90.0f * kScale);
    glowMask(canvas, letters, {0.7f, 0.3f, 1.0f, 1}, 12.0f * kScale, 1.3f);
    chromeMask(canvas, letters, top, bottom, chromeRamp(), 2.5f * kScale);
    scanlines(canvas, 0.15f, 2 * kScale);
    grain(canvas, random, 0.03f);
    kit.saveJpg("ting/quillory.jpg", canvas.rotatedLeft(), 128, 512);
}

void cockAttack(PictureKit& kit) {
    Random random = kit.pack.randomFor("cockAttack.jpg");
    Canvas canvas = stripLyingDown(183, {1.0f, 0.6f, 0.1f, 1});
    radialGlow(canvas, canvas.width() * 0.5f, canvas.height() * 0.5f, canvas.width() * 0.4f, {0.8f, 0.2f, 0.05f, 1},
               0.5f);
    Mask letters(canvas.width(), canvas.height());
    const auto [top, bottom] =
        kit.type.set(letters, Face::SansBoldOblique, "cockAttack",
                     {20.0f * kScale, 30.0f * kScale, 440.0f * kScale, 90.0f * kScale}, 110.0f * kScale);
    glowMask(canvas, letters, {1.0f, 0.4f, 0.05f, 1}, 14.0f * kScale, 1.3f);
    shadowMask(canvas, letters, 4 * kScale, 4 * kScale, 3.0f * kScale, 0.8f);
    chromeMask(canvas, letters, top, bottom, goldRamp(), 3.0f * kScale);
    Mask byline(canvas.width(), canvas.height());
    kit.type.set(byline, Face::SansBold, "a  q u i l l o r y  i n t r o",
                 {20.0f * kScale, 130.0f * kScale, 440.0f * kScale, 22.0f * kScale}, 22.0f * kScale);
    fillMask(canvas, byline, {1.0f, 0.85f, 0.6f, 1});
    scanlines(canvas, 0.15f, 2 * kScale);
    grain(canvas, random, 0.03f);
    kit.saveJpg("cockAttack.jpg", canvas.rotatedLeft(), 256, 512);
}

// 150x480 at the left edge: the digits stacked, in neon.
void leet(PictureKit& kit) {
    Random random = kit.pack.randomFor("ting/1337.jpg");
    constexpr int kW = 150 * kScale;
    constexpr int kH = 480 * kScale;
    Canvas canvas(kW, kH);
    verticalGradient(canvas, Ramp{{{0.0f, {0.0f, 0.03f, 0.05f, 1}}, {1.0f, {0.04f, 0.0f, 0.08f, 1}}}});
    for (int y = 0; y < kH; y += 24 * kScale) {  // a faint grid, like a vector display
        for (int x = 0; x < kW; ++x) canvas.add(x, y, {0.0f, 0.5f, 0.6f, 1}, 0.25f);
    }
    for (int x = 0; x < kW; x += 24 * kScale) {
        for (int y = 0; y < kH; ++y) canvas.add(x, y, {0.0f, 0.5f, 0.6f, 1}, 0.25f);
    }
    const char* digits[] = {"1", "3", "3", "7"};
    const Colour neon[] = {{0.1f, 1.0f, 0.9f, 1}, {1.0f, 0.2f, 0.8f, 1}, {1.0f, 0.2f, 0.8f, 1}, {0.1f, 1.0f, 0.9f, 1}};
    for (int i = 0; i < 4; ++i) {
        Mask digit(kW, kH);
        kit.type.set(digit, Face::MonoBold, digits[i],
                     {10.0f * kScale, (18.0f + 112.0f * i) * kScale, 130.0f * kScale, 100.0f * kScale},
                     140.0f * kScale);
        glowMask(canvas, digit, neon[i], 14.0f * kScale, 1.6f);
        glowMask(canvas, digit, neon[i], 3.0f * kScale, 1.0f);
        fillMask(canvas, digit, mix(neon[i], {1, 1, 1, 1}, 0.7f));
    }
    scanlines(canvas, 0.2f, 2 * kScale);
    grain(canvas, random, 0.03f);
    kit.saveJpg("ting/1337.jpg", canvas, 256, 512);
}

}  // namespace

void writeTitleCards(PictureKit& kit) {
    chessCard(kit, "ting/queen.jpg", "the queen", "-  act one  -",
              {{0.10f, 0.02f, 0.16f, 1},
               {0.03f, 0.0f, 0.06f, 1},
               {0.9f, 0.2f, 0.7f, 1},
               {0.7f, 0.6f, 0.8f, 1},
               {0.05f, 0.02f, 0.08f, 1}});
    chessCard(kit, "ting/king.jpg", "the king", "-  act two  -",
              {{0.14f, 0.07f, 0.0f, 1},
               {0.05f, 0.02f, 0.0f, 1},
               {1.0f, 0.6f, 0.1f, 1},
               {0.8f, 0.65f, 0.4f, 1},
               {0.08f, 0.04f, 0.01f, 1}});
    chessCard(kit, "ting/peasants.jpg", "the peasants", "-  act three  -",
              {{0.0f, 0.10f, 0.08f, 1},
               {0.0f, 0.04f, 0.03f, 1},
               {0.2f, 0.9f, 0.5f, 1},
               {0.5f, 0.8f, 0.6f, 1},
               {0.01f, 0.06f, 0.04f, 1}});
    quillory(kit);
    cockAttack(kit);
    shipTitle(kit);
    applause(kit);
    leet(kit);
}
