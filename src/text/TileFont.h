// The show's bitmap font: glyph tiles looked up by name in "transFont.tle",
// each turned into a texture and compiled into a display list, so that a
// string is drawn in screen pixels with one list call per character.
// Construction only opens and checks the file, so a font can be built
// before the window exists; the glyphs need a GL context.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "render/Texture.h"
#include "text/TileFile.h"

class TileFont {
public:
    // Opens and checks the font file and prints its header line. A missing
    // or foreign file ends the process.
    TileFont(int glyphWidth, int glyphHeight);
    ~TileFont();
    TileFont(const TileFont&) = delete;
    TileFont& operator=(const TileFont&) = delete;

    // The tile named `tag` (exact, case included) as a new texture; scans
    // the file from its start. A missing tag or a damaged file ends the process.
    std::unique_ptr<Texture> loadTile(const char* tag);

    // Compiles "a"-"z" and "0"-"9" into display lists; call once, with a
    // GL context current.
    void buildGlyphLists();

    // Draws `text` with its top-left corner at pixel (x, y) of the 640x480
    // screen, one glyph width per character. Lower-cases `text` in place.
    void print(char* text, int x, int y);

    void setGlyphSize(int width, int height);

    std::int32_t getHeaderWord() const { return headerWord; }
    std::int32_t getPixelFormat() const { return pixelFormat; }
    GLuint getListBase() const { return listBase; }
    std::int32_t getGlyphWidth() const { return glyphWidth; }
    std::int32_t getGlyphHeight() const { return glyphHeight; }
    const Texture* getLastTexture() const { return lastTexture.get(); }

private:
    std::int32_t headerWord = 0;
    std::int32_t pixelFormat = 0;
    char nameBuffer[kTileNameSize] = {};
    std::FILE* tileStream = nullptr;
    GLuint listBase = 0;
    std::int32_t glyphWidth;
    std::int32_t glyphHeight;
    std::unique_ptr<Texture> lastTexture;
};
