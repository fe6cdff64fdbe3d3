// Text for the pictures, set with FreeType in the DejaVu faces: strings are
// fitted into a box of the picture as it appears on screen and come out as
// coverage masks for the effects to paint.
#pragma once

#include <memory>
#include <string>

#include "pack/pictures/Canvas.h"

class FreeTypeFaces;

enum class Face { Sans, SansBold, SansBoldOblique, SansCondensedBold, Serif, SerifBold, SerifBoldItalic, MonoBold };

class Typesetter {
public:
    Typesetter();
    ~Typesetter();
    Typesetter(const Typesetter&) = delete;
    Typesetter& operator=(const Typesetter&) = delete;

    struct Box {
        float x, y, width, height;
    };
    enum class Align { Left, Centre, Right };

    // Sets `text` on one line into `mask` (max with what is there), as large
    // as fits `box` (at most `pixelSize` high), aligned horizontally in the
    // box and with its ink centred vertically. `tracking` widens the letter
    // spacing by that fraction of the size. Returns the ink's top and bottom.
    std::pair<float, float> set(Mask& mask, Face face, const std::string& text, Box box, float pixelSize,
                                Align align = Align::Centre, float tracking = 0.0f);

private:
    std::unique_ptr<FreeTypeFaces> faces_;
};
