#include "pack/font/FontGenerator.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "pack/FreeTypeFaces.h"
#include "pack/PackContext.h"
#include "pack/font/TileFileWriter.h"

namespace {

constexpr const char* kFaceFile = "DejaVuSans-Bold.ttf";
constexpr std::string_view kGlyphSet = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kGlyphTile = 32;   // drawn at 14 and 30 pixels: one mip level above the larger
constexpr int kGlyphMargin = 2;  // glyphs sit edge to edge on screen; this is their spacing
constexpr std::int32_t kHeaderWord = 1;

// The font's one face, set the way its tiles need it.
class FontFace {
public:
    void setPixelSize(int pixels) { FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)); }

    // Narrows (below 1) or widens the glyphs rendered from now on.
    void setWidthScale(double scale) {
        FT_Matrix matrix{static_cast<FT_Fixed>(scale * 65536.0), 0, 0, 0x10000};
        FT_Set_Transform(face_, &matrix, nullptr);
    }

    // Renders one character; the result stays valid until the next call.
    FT_GlyphSlot render(char c) {
        if (FT_Load_Char(face_, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0) {
            throw std::runtime_error(std::string("no glyph for ") + c);
        }
        return face_->glyph;
    }

private:
    FreeTypeFaces faces_;
    FT_Face face_ = faces_.face(kFaceFile);
};

// Glyph coverage on a canvas, 0 to 1; reads outside the canvas give 0.
struct Coverage {
    Coverage(int w, int h) : width(w), height(h), value(static_cast<std::size_t>(w * h), 0.0f) {}
    float at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
        return value[static_cast<std::size_t>(y * width + x)];
    }
    // Adds the rendered glyph with its bitmap's top-left corner at (left, top).
    void add(const FT_Bitmap& bitmap, int left, int top) {
        paintGlyph(bitmap, left, top, width, height, [&](int x, int y, float glyph) {
            float& v = value[static_cast<std::size_t>(y * width + x)];
            v = std::min(1.0f, v + glyph);
        });
    }
    int width;
    int height;
    std::vector<float> value;
};

struct Rgb {
    float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

// Chrome gold from the top of the letters (t = 0) to the baseline (t = 1),
// with the dark horizon band of the period's metal logos across the middle.
Rgb chromeGold(float t) {
    struct Stop {
        float t;
        Rgb colour;
    };
    static constexpr Stop stops[] = {
        {0.00f, {255, 255, 235}}, {0.36f, {255, 214, 96}}, {0.50f, {255, 178, 48}},
        {0.54f, {150, 70, 12}},   {0.66f, {205, 110, 24}}, {1.00f, {255, 226, 140}},
    };
    if (t <= stops[0].t) return stops[0].colour;
    for (std::size_t i = 1; i < std::size(stops); ++i) {
        if (t <= stops[i].t)
            return mix(stops[i - 1].colour, stops[i].colour, (t - stops[i - 1].t) / (stops[i].t - stops[i - 1].t));
    }
    return stops[std::size(stops) - 1].colour;
}

unsigned char byte(float v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 255.0f))); }

// RGBA with alpha from coverage: the gradient fill with a light top-left
// bevel, and a thin dark outline that keeps the letters readable over
// bright pictures. Transparent pixels carry the outline colour, so filtering
// never pulls a light fringe out of them.
std::vector<unsigned char> chromeStyle(const Coverage& cov, float gradientTop, float gradientBottom) {
    const Rgb outline{24, 10, 0};
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<std::size_t>(cov.width * cov.height * 4));
    for (int y = 0; y < cov.height; ++y) {
        const float t = (static_cast<float>(y) + 0.5f - gradientTop) / (gradientBottom - gradientTop);
        const Rgb fillRow = chromeGold(t);
        for (int x = 0; x < cov.width; ++x) {
            const float c = cov.at(x, y);
            float ring = 0.0f;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    ring = std::max(ring, cov.at(x + dx, y + dy) * ((dx != 0 && dy != 0) ? 0.7f : 1.0f));
                }
            }
            const float alpha = std::max(c, ring * 0.85f);
            const float lit = std::clamp(c - cov.at(x - 1, y - 1), 0.0f, 1.0f);
            const float shaded = std::clamp(c - cov.at(x + 1, y + 1), 0.0f, 1.0f);
            Rgb fill = mix(fillRow, {255, 255, 255}, 0.55f * lit);
            fill = mix(fill, {90, 40, 0}, 0.35f * shaded);
            const Rgb colour = alpha > 0.0f ? mix(outline, fill, c / alpha) : outline;
            rgba.insert(rgba.end(), {byte(colour.r), byte(colour.g), byte(colour.b), byte(alpha * 255.0f)});
        }
    }
    return rgba;
}

// The letter tiles hold capitals: with no descenders they fill the square
// cell, which is what keeps 14-pixel text legible (period bitmap fonts were
// mostly capitals anyway). The tags stay lower case, as the font looks them up.
char shapeOf(char tag) { return static_cast<char>(std::toupper(static_cast<unsigned char>(tag))); }

// The widest letters may be narrowed this much to fit their cell.
constexpr double kMostNarrowing = 0.8;

// The largest pixel size at which every glyph, on a common baseline, fits
// the tile inside its margin, the widest ones narrowed.
struct GlyphLayout {
    int pixelSize;
    int baseline;  // row of the baseline in the tile
};

GlyphLayout fitGlyphs(FontFace& face) {
    const int room = kGlyphTile - 2 * kGlyphMargin;
    for (int size = 2 * kGlyphTile; size > 4; --size) {
        face.setPixelSize(size);
        int top = 0, bottom = 0, widest = 0;
        for (const char c : kGlyphSet) {
            const FT_GlyphSlot glyph = face.render(shapeOf(c));
            top = std::max(top, glyph->bitmap_top);
            bottom = std::min(bottom, glyph->bitmap_top - static_cast<int>(glyph->bitmap.rows));
            widest = std::max(widest, static_cast<int>(glyph->bitmap.width));
        }
        if (widest * kMostNarrowing <= room && top - bottom <= room)
            return {size, (kGlyphTile - (top - bottom)) / 2 + top};
    }
    throw std::runtime_error("glyphs do not fit their tiles");
}

TileImage glyphTile(FontFace& face, const GlyphLayout& layout, char c, float capTop) {
    const int room = kGlyphTile - 2 * kGlyphMargin;
    FT_GlyphSlot glyph = face.render(shapeOf(c));
    for (double scale = 1.0; static_cast<int>(glyph->bitmap.width) > room;) {
        scale *= (room - 0.5) / glyph->bitmap.width;
        face.setWidthScale(scale);
        glyph = face.render(shapeOf(c));
    }
    face.setWidthScale(1.0);
    Coverage cov(kGlyphTile, kGlyphTile);
    cov.add(glyph->bitmap, (kGlyphTile - static_cast<int>(glyph->bitmap.width)) / 2,
            layout.baseline - glyph->bitmap_top);
    return {std::string(1, c), kGlyphTile, kGlyphTile, 4,
            chromeStyle(cov, capTop, static_cast<float>(layout.baseline))};
}

// The group's name as a banner tile, in the glyphs' style.
TileImage bannerTile(FontFace& face) {
    constexpr int kWidth = 256, kHeight = 64;
    const std::string text = "QUILLORY";
    face.setPixelSize(40);
    int advance = 0;
    for (const char c : text) advance += static_cast<int>(face.render(c)->advance.x >> 6);
    Coverage cov(kWidth, kHeight);
    const int baseline = 48;
    int pen = (kWidth - advance) / 2;
    int capTop = baseline;
    for (const char c : text) {
        const FT_GlyphSlot glyph = face.render(c);
        cov.add(glyph->bitmap, pen + glyph->bitmap_left, baseline - glyph->bitmap_top);
        capTop = std::min(capTop, baseline - glyph->bitmap_top);
        pen += static_cast<int>(glyph->advance.x >> 6);
    }
    return {"quillory", kHeight, kWidth, 4, chromeStyle(cov, static_cast<float>(capTop), static_cast<float>(baseline))};
}

// A soft lens flare: glow, a faint ring and four rays.
TileImage flareTile(int size, const std::string& name) {
    std::vector<unsigned char> rgba;
    const float half = static_cast<float>(size) / 2.0f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - half) / half;
            const float dy = (static_cast<float>(y) + 0.5f - half) / half;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float glow = std::exp(-r * r * 9.0f);
            const float ring = 0.25f * std::exp(-(r - 0.72f) * (r - 0.72f) * 300.0f);
            const float rays =
                0.6f * std::pow(std::abs(std::cos(2.0f * std::atan2(dy, dx))), 60.0f) * std::exp(-r * 3.0f);
            const float a = std::clamp(glow + ring + rays, 0.0f, 1.0f);
            const Rgb colour = mix({255, 190, 110}, {255, 255, 245}, std::clamp(glow * 1.4f, 0.0f, 1.0f));
            rgba.insert(rgba.end(), {byte(colour.r), byte(colour.g), byte(colour.b), byte(a * 255.0f)});
        }
    }
    return {name, size, size, 4, rgba};
}

// An opaque deep-blue plasma, the classic background tile.
TileImage plasmaTile(Random random) {
    constexpr int kSize = 256;
    constexpr float kTau = 6.2831853f;
    float phase[4];
    for (float& p : phase) p = random.range(0.0f, kTau);
    std::vector<unsigned char> rgba;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Whole periods across the tile, so it repeats without a seam.
            const float u = static_cast<float>(x) / kSize * kTau;
            const float v = static_cast<float>(y) / kSize * kTau;
            const float p = (std::sin(2 * u + phase[0]) + std::sin(3 * v + phase[1]) +
                             std::sin(2 * (u + v) + phase[2]) + std::sin(u - 3 * v + phase[3])) /
                            4.0f;
            const float t = 0.5f + 0.5f * p;
            const Rgb colour = t < 0.6f ? mix({4, 6, 28}, {30, 40, 120}, t / 0.6f)
                                        : mix({30, 40, 120}, {120, 170, 255}, (t - 0.6f) / 0.4f);
            rgba.insert(rgba.end(), {byte(colour.r), byte(colour.g), byte(colour.b), 255});
        }
    }
    return {"plasma", kSize, kSize, 4, rgba};
}

}  // namespace

void writeFont(const PackContext& pack) {
    FontFace face;
    const GlyphLayout layout = fitGlyphs(face);
    face.setPixelSize(layout.pixelSize);
    // The gradient runs from the top of the capitals' height (digits and
    // ascenders reach it) down to the baseline.
    const float capTop = static_cast<float>(layout.baseline - face.render('0')->bitmap_top);

    std::vector<TileImage> glyphs;
    for (const char c : kGlyphSet) glyphs.push_back(glyphTile(face, layout, c, capTop));

    // Other tiles sit between the glyphs, large ones too, as in any tile
    // file that holds more than a font.
    std::vector<TileImage> tiles;
    tiles.push_back(bannerTile(face));
    for (const TileImage& glyph : glyphs) {
        if (glyph.name == "n") tiles.push_back(flareTile(128, "flare"));
        if (glyph.name == "0") tiles.push_back(plasmaTile(pack.randomFor("transFont.tle")));
        tiles.push_back(glyph);
    }
    tiles.push_back(flareTile(16, "spark"));

    writeTileFile(pack.file("transFont.tle"), kHeaderWord, GL_RGBA, tiles);
}
