// The closing credits and the farewell card drawn over them, and the logo
// TGA that the chess scene loads (white lettering on a transparent ground,
// so the run-length encoding has long runs to find).
#include <algorithm>
#include <cmath>
#include <string>

#include "pack/pictures/Effects.h"
#include "pack/pictures/PictureKit.h"

namespace {

constexpr int kScale = 2;
constexpr int kW = 640 * kScale;
constexpr int kH = 480 * kScale;

// Rainbow raster bar, one pixel-row gradient, as a separator.
void rasterBar(Canvas& canvas, float y, float halfHeight) {
    const Ramp hue{{{0.0f, {1.0f, 0.2f, 0.4f, 1}},
                    {0.33f, {1.0f, 0.8f, 0.1f, 1}},
                    {0.66f, {0.1f, 0.9f, 0.6f, 1}},
                    {1.0f, {0.3f, 0.4f, 1.0f, 1}}}};
    for (int py = static_cast<int>(y - halfHeight); py <= static_cast<int>(y + halfHeight); ++py) {
        const float d = (py + 0.5f - y) / halfHeight;
        const float profile = std::max(0.0f, 1.0f - d * d);
        for (int x = 0; x < canvas.width(); ++x) {
            const float u = static_cast<float>(x) / canvas.width();
            const float fade = std::sin(u * 3.14159265f);
            canvas.add(x, py, hue(u), profile * fade * 0.9f);
        }
    }
}

void credits(PictureKit& kit) {
    Random random = kit.pack.randomFor("ting/credits.jpg");
    Canvas canvas(kW, kH);
    verticalGradient(
        canvas,
        Ramp{{{0.0f, {0.02f, 0.01f, 0.08f, 1}}, {0.5f, {0.06f, 0.03f, 0.16f, 1}}, {1.0f, {0.01f, 0.0f, 0.04f, 1}}}});
    starfield(canvas, random, 400, 0.7f);
    radialGlow(canvas, kW * 0.5f, 70.0f * kScale, kW * 0.35f, {0.3f, 0.4f, 1.0f, 1}, 0.35f);

    Mask heading(kW, kH);
    const auto [top, bottom] =
        kit.type.set(heading, Face::SansBoldOblique, "credits",
                     {120.0f * kScale, 28.0f * kScale, 400.0f * kScale, 80.0f * kScale}, 96.0f * kScale);
    glowMask(canvas, heading, {0.3f, 0.5f, 1.0f, 1}, 16.0f * kScale, 1.2f);
    shadowMask(canvas, heading, 4 * kScale, 5 * kScale, 3.0f * kScale, 0.8f);
    chromeMask(canvas, heading, top, bottom, chromeRamp(), 3.0f * kScale);
    rasterBar(canvas, 126.0f * kScale, 3.0f * kScale);

    struct Line {
        const char* role;
        const char* who;
    };
    const Line lines[] = {{"code", "the generator"}, {"graphics", "the generator"}, {"music", "the generator"}};
    for (int i = 0; i < 3; ++i) {
        const float y = (160.0f + 58.0f * i) * kScale;
        Mask role(kW, kH);
        kit.type.set(role, Face::SansBold, lines[i].role, {40.0f * kScale, y, 250.0f * kScale, 36.0f * kScale},
                     34.0f * kScale, Typesetter::Align::Right);
        glowMask(canvas, role, {1.0f, 0.4f, 0.7f, 1}, 6.0f * kScale, 0.9f);
        fillMask(canvas, role, {1.0f, 0.75f, 0.88f, 1});
        Mask who(kW, kH);
        const auto [whoTop, whoBottom] =
            kit.type.set(who, Face::SerifBoldItalic, lines[i].who,
                         {320.0f * kScale, y - 2.0f * kScale, 290.0f * kScale, 40.0f * kScale}, 40.0f * kScale,
                         Typesetter::Align::Left);
        shadowMask(canvas, who, 2 * kScale, 3 * kScale, 2.0f * kScale, 0.8f);
        chromeMask(canvas, who, whoTop, whoBottom, goldRamp(), 1.5f * kScale);
    }
    rasterBar(canvas, 346.0f * kScale, 3.0f * kScale);

    Mask production(kW, kH);
    kit.type.set(production, Face::SansBold, "a   p r o d u c t i o n   b y", {0, 364.0f * kScale, kW, 16.0f * kScale},
                 16.0f * kScale);
    fillMask(canvas, production, {0.7f, 0.75f, 0.9f, 1});
    Mask team(kW, kH);
    const auto [teamTop, teamBottom] =
        kit.type.set(team, Face::SerifBoldItalic, "Quillory",
                     {140.0f * kScale, 384.0f * kScale, 360.0f * kScale, 70.0f * kScale}, 80.0f * kScale);
    glowMask(canvas, team, {0.7f, 0.3f, 1.0f, 1}, 14.0f * kScale, 1.3f);
    chromeMask(canvas, team, teamTop, teamBottom, chromeRamp(), 2.5f * kScale);

    scanlines(canvas, 0.18f, 2 * kScale);
    grain(canvas, random, 0.03f);
    vignette(canvas, 0.5f);
    kit.saveJpg("ting/credits.jpg", canvas, 1024, 512);
}

// A sunset over a glowing grid: the show waves goodbye.
void sunsetGrid(Canvas& canvas, float horizon) {
    verticalGradient(canvas, Ramp{{{0.0f, {0.02f, 0.0f, 0.10f, 1}},
                                   {0.45f, {0.35f, 0.04f, 0.35f, 1}},
                                   {horizon / kH, {0.95f, 0.35f, 0.30f, 1}},
                                   {horizon / kH + 0.001f, {0.03f, 0.0f, 0.06f, 1}},
                                   {1.0f, {0.08f, 0.0f, 0.12f, 1}}}});
    // The sun: a disc cut by widening gaps towards the horizon.
    const float cx = kW * 0.5f, cy = horizon - 10.0f * kScale, r = 120.0f * kScale;
    for (int y = 0; y < static_cast<int>(horizon); ++y) {
        for (int x = 0; x < kW; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float band = (cy - y) / r;  // 1 at the top of the sun, 0 at its middle
            const bool gap = band < 0.55f && std::fmod(y / static_cast<float>(kScale), 14.0f) < (0.55f - band) * 14.0f;
            if (d < r && !gap) {
                canvas.blend(x, y, mix({1.0f, 0.25f, 0.45f, 1}, {1.0f, 0.9f, 0.3f, 1}, std::clamp(band, 0.0f, 1.0f)),
                             std::clamp(r - d, 0.0f, 1.0f));
            }
            canvas.add(x, y, {1.0f, 0.4f, 0.4f, 1},
                       0.35f * std::exp(-std::pow((d - r) / (40.0f * kScale), 2.0f)) * (d > r));
        }
    }
    // The grid floor: lines running to the vanishing point and rows closing up.
    for (int y = static_cast<int>(horizon) + 1; y < kH; ++y) {
        const float depth = (y + 0.5f - horizon) / (kH - horizon);
        const float z = 1.0f / depth;
        const float row = std::fabs(std::fmod(z * 2.0f, 1.0f) - 0.5f);
        for (int x = 0; x < kW; ++x) {
            const float wx = (x + 0.5f - cx) / (kW * 0.5f) * z * 6.0f;
            const float column = std::fabs(wx - std::round(wx));
            const float lineWidth = 0.03f * z;
            const float onLine = std::max(std::clamp((lineWidth - column) / lineWidth * 2, 0.0f, 1.0f),
                                          std::clamp((0.04f * z - row) / (0.04f * z) * 2, 0.0f, 1.0f));
            canvas.add(x, y, {0.2f, 0.8f, 1.0f, 1}, onLine * std::min(1.0f, depth * 2.5f));
        }
    }
}

void salute(PictureKit& kit) {
    Random random = kit.pack.randomFor("ting/salute.jpg");
    Canvas canvas(kW, kH);
    const float horizon = 300.0f * kScale;
    sunsetGrid(canvas, horizon);
    starfield(canvas, random, 160, 0.6f);

    Mask title(kW, kH);
    const auto [top, bottom] =
        kit.type.set(title, Face::SansBoldOblique, "thanks for watching",
                     {30.0f * kScale, 40.0f * kScale, 580.0f * kScale, 70.0f * kScale}, 80.0f * kScale);
    glowMask(canvas, title, {1.0f, 0.3f, 0.6f, 1}, 18.0f * kScale, 1.2f);
    shadowMask(canvas, title, 4 * kScale, 5 * kScale, 3.0f * kScale, 0.85f);
    chromeMask(canvas, title, top, bottom, chromeRamp(), 3.0f * kScale);

    Mask signature(kW, kH);
    kit.type.set(signature, Face::SerifBoldItalic, "Quillory salutes you", {0, 122.0f * kScale, kW, 30.0f * kScale},
                 30.0f * kScale);
    glowMask(canvas, signature, {1.0f, 0.8f, 0.2f, 1}, 6.0f * kScale, 0.9f);
    fillMask(canvas, signature, {1.0f, 0.95f, 0.8f, 1});

    Mask greetings(kW, kH);
    kit.type.set(greetings, Face::SansBold, "greetings fly out to", {0, 175.0f * kScale, kW, 16.0f * kScale},
                 16.0f * kScale);
    kit.type.set(greetings, Face::SansCondensedBold, "lamplighters  *  nightcrawl  *  byte cartel  *  copper club",
                 {40.0f * kScale, 198.0f * kScale, 560.0f * kScale, 20.0f * kScale}, 20.0f * kScale);
    kit.type.set(greetings, Face::SansCondensedBold, "polygon pirates  *  the mixing desk  *  everyone at the party",
                 {40.0f * kScale, 224.0f * kScale, 560.0f * kScale, 20.0f * kScale}, 20.0f * kScale);
    shadowMask(canvas, greetings, 2 * kScale, 2 * kScale, 1.5f * kScale, 0.9f);
    fillMask(canvas, greetings, {0.95f, 0.95f, 1.0f, 1});

    Mask goodbye(kW, kH);
    kit.type.set(goodbye, Face::SansBoldOblique, "see you at the next party!", {0, 420.0f * kScale, kW, 28.0f * kScale},
                 28.0f * kScale);
    fillMask(canvas, goodbye.dilated(3 * kScale).blurred(3.0f * kScale), {0.02f, 0.0f, 0.06f, 1}, 0.85f);
    glowMask(canvas, goodbye, {0.2f, 0.8f, 1.0f, 1}, 8.0f * kScale, 0.8f);
    fillMask(canvas, goodbye, {0.9f, 1.0f, 1.0f, 1});

    scanlines(canvas, 0.18f, 2 * kScale);
    grain(canvas, random, 0.03f);
    vignette(canvas, 0.45f);
    kit.saveJpg("ting/salute.jpg", canvas, 1024, 512);
}

void logoTga(PictureKit& kit) {
    constexpr int kSize = 512;
    Mask letters(kSize, kSize);
    kit.type.set(letters, Face::SansBoldOblique, "wat", {40, 90, 432, 170}, 200);
    kit.type.set(letters, Face::SansBoldOblique, "gsg", {40, 262, 432, 170}, 200);
    const Mask rim = letters.dilated(6).blurred(2.0f);
    Canvas canvas(kSize, kSize, {0, 0, 0, 0});
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Inverted: light lettering with a dark rim, everything else clear.
            const float coverage = letters.at(x, y);
            const float alpha = std::max(coverage, rim.at(x, y) * 0.8f);
            if (alpha <= 0.002f) continue;
            const float level = coverage / std::max(alpha, 1e-6f);
            canvas.at(x, y) = {level, level, level * 0.95f + 0.05f, std::min(1.0f, alpha)};
        }
    }
    kit.saveTga("ting/watgsg512_inv.tga", canvas);
}

}  // namespace

void writeClosingCards(PictureKit& kit) {
    credits(kit);
    salute(kit);
    logoTga(kit);
}
