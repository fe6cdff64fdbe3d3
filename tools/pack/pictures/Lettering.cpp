#include "pack/pictures/Lettering.h"

#include <algorithm>
#include <cmath>

#include "pack/FreeTypeFaces.h"

namespace {

const char* fontFile(Face face) {
    switch (face) {
    case Face::Sans:
        return "DejaVuSans.ttf";
    case Face::SansBold:
        return "DejaVuSans-Bold.ttf";
    case Face::SansBoldOblique:
        return "DejaVuSans-BoldOblique.ttf";
    case Face::SansCondensedBold:
        return "DejaVuSansCondensed-Bold.ttf";
    case Face::Serif:
        return "DejaVuSerif.ttf";
    case Face::SerifBold:
        return "DejaVuSerif-Bold.ttf";
    case Face::SerifBoldItalic:
        return "DejaVuSerif-BoldItalic.ttf";
    case Face::MonoBold:
        return "DejaVuSansMono-Bold.ttf";
    }
    return "DejaVuSans.ttf";
}

struct Layout {
    float advance = 0;    // pen travel, pixels
    float inkTop = 1e9f;  // relative to the baseline, y down
    float inkBottom = -1e9f;
};

}  // namespace

Typesetter::Typesetter() : faces_(std::make_unique<FreeTypeFaces>()) {}

Typesetter::~Typesetter() = default;

std::pair<float, float> Typesetter::set(Mask& mask, Face which, const std::string& text, Box box, float pixelSize,
                                        Align align, float tracking) {
    FT_Face face = faces_->face(fontFile(which));

    // Lay the line out at a trial size, then scale the size to the box.
    auto layout = [&](float size, bool draw, float penX, float baseline) {
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(size * 64)), 72, 72);
        Layout result;
        float pen = 0;
        FT_UInt previous = 0;
        for (unsigned char c : text) {
            const FT_UInt glyph = FT_Get_Char_Index(face, c);
            if (previous != 0 && FT_HAS_KERNING(face)) {
                FT_Vector kern;
                FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNFITTED, &kern);
                pen += kern.x / 64.0f;
            }
            // Sub-pixel placement: shift the outline by the pen's fraction.
            const float x = penX + pen;
            FT_Vector delta{static_cast<FT_Pos>(std::lround((x - std::floor(x)) * 64)),
                            static_cast<FT_Pos>(std::lround((baseline - std::floor(baseline)) * -64))};
            FT_Set_Transform(face, nullptr, &delta);
            FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | (draw ? FT_LOAD_RENDER : FT_LOAD_DEFAULT));
            if (draw) {
                const int left = static_cast<int>(std::floor(x)) + face->glyph->bitmap_left;
                const int top = static_cast<int>(std::floor(baseline)) - face->glyph->bitmap_top;
                paintGlyph(face->glyph->bitmap, left, top, mask.width(), mask.height(),
                           [&](int mx, int my, float v) { mask.at(mx, my) = std::max(mask.at(mx, my), v); });
            } else {
                FT_Glyph_Metrics& m = face->glyph->metrics;
                result.inkTop = std::min(result.inkTop, -m.horiBearingY / 64.0f);
                result.inkBottom = std::max(result.inkBottom, (m.height - m.horiBearingY) / 64.0f);
            }
            pen += face->glyph->advance.x / 64.0f + tracking * size;
            previous = glyph;
        }
        FT_Set_Transform(face, nullptr, nullptr);
        result.advance = pen - tracking * size;
        return result;
    };

    Layout trial = layout(pixelSize, false, 0, 0);
    const float inkHeight = std::max(1.0f, trial.inkBottom - trial.inkTop);
    const float fit = std::min({1.0f, box.width / std::max(1.0f, trial.advance), box.height / inkHeight});
    const float size = pixelSize * fit;
    const Layout line = layout(size, false, 0, 0);

    float penX = box.x;
    if (align == Align::Centre) penX = box.x + (box.width - line.advance) / 2;
    if (align == Align::Right) penX = box.x + box.width - line.advance;
    const float baseline = box.y + box.height / 2 - (line.inkTop + line.inkBottom) / 2;
    layout(size, true, penX, baseline);
    return {baseline + line.inkTop, baseline + line.inkBottom};
}
