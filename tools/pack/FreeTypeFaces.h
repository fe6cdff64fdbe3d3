// FreeType and the DejaVu faces the pack sets its letters in: the titles of
// the pictures and the glyphs of the show's font. The faces come from the
// system's DejaVu packages (fonts-dejavu-core and -extra).
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <string>

class FreeTypeFaces {
public:
    // Throws std::runtime_error when FreeType does not start.
    FreeTypeFaces();
    ~FreeTypeFaces();
    FreeTypeFaces(const FreeTypeFaces&) = delete;
    FreeTypeFaces& operator=(const FreeTypeFaces&) = delete;

    // The face in the DejaVu file `file` ("DejaVuSans-Bold.ttf"), opened on
    // first use and kept while this object lives. Throws std::runtime_error
    // naming the full path when it cannot be opened, so the message says
    // which package is missing.
    FT_Face face(const std::string& file);

private:
    FT_Library library_ = nullptr;
    std::map<std::string, FT_Face> faces_;
};

// Hands each pixel of a rendered glyph to `paint(x, y, coverage)`, coverage
// 0 to 1, with the bitmap's top-left corner at (left, top) of a surface
// `width` x `height`; what falls outside the surface is left out.
template <typename Paint>
void paintGlyph(const FT_Bitmap& bitmap, int left, int top, int width, int height, Paint paint) {
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = left + static_cast<int>(col);
            const int y = top + static_cast<int>(row);
            if (x < 0 || y < 0 || x >= width || y >= height) continue;
            paint(x, y, bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col] / 255.0f);
        }
    }
}
