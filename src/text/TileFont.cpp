#include "text/TileFont.h"

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "platform/DataFiles.h"
#include "platform/DataPath.h"
#include "platform/FatalExit.h"
#include "platform/ShowRandom.h"
#include "platform/Ticks.h"
#include "render/RenderState.h"
#include "render/UnitQuad.h"

namespace {

constexpr const char* kFontFile = platform::files::kFont.name;
// Letters first: the order the glyph textures are created in.
constexpr std::string_view kGlyphSet = "abcdefghijklmnopqrstuvwxyz0123456789";
// One list per character code, whether or not it has a glyph.
constexpr GLsizei kListCount = 256;

constexpr const char* kBadFile = "Input file is bad.. kill program..!!\n";

}  // namespace

TileFont::TileFont(int glyphWidth, int glyphHeight) : glyphWidth(glyphWidth), glyphHeight(glyphHeight) {
    // Start-up seeds the generator again before anything draws, so the
    // show's random sequence does not hang on this seed.
    seedShowRandom(platform::tickCount());
    tileStream = std::fopen(platform::resolveDataPath(kFontFile).c_str(), "rb");
    TileFileHeader header;
    if (!readTileFileHeader(tileStream, nameBuffer, header)) platform::fatalExit("not a TileFile, exiting....\n");
    headerWord = header.headerWord;
    pixelFormat = header.pixelFormat;
    std::cout << nameBuffer << ' ' << headerWord << ' ' << pixelFormat << std::endl;
}

TileFont::~TileFont() {
    if (tileStream != nullptr) std::fclose(tileStream);
}

std::unique_ptr<Texture> TileFont::loadTile(const char* tag) {
    if (std::ferror(tileStream)) platform::fatalExit(kBadFile);

    TileFileHeader header{headerWord, pixelFormat};
    Tile tile;
    const TileSearch result = findTile(tileStream, tag, nameBuffer, header, tile);
    headerWord = header.headerWord;
    pixelFormat = header.pixelFormat;
    if (result == TileSearch::Malformed) platform::fatalExit(kBadFile);
    if (result == TileSearch::NotFound) {
        platform::fatalExit(std::string("\n!!didn't find your tag,") + tag + " exiting program!!\n");
    }

    auto texture = std::make_unique<Texture>();
    texture->buildFromMemory(tile.pixels.data(), static_cast<GLenum>(pixelFormat), tile.columns, tile.rows);
    return texture;
}

void TileFont::buildGlyphLists() {
    listBase = glGenLists(kListCount);
    for (const char c : kGlyphSet) {
        lastTexture.reset();  // the object only: the previous glyph's list keeps its texture
        const char tag[] = {c, '\0'};
        lastTexture = loadTile(tag);

        glNewList(listBase + static_cast<GLuint>(c), GL_COMPILE);
        lastTexture->bind();
        drawTexturedUnitQuad();
        glEndList();
    }
}

void TileFont::print(char* text, int x, int y) {
    enter2D(0, 0, 640, 480);
    glTranslatef(static_cast<GLfloat>(x), static_cast<GLfloat>(y), 0);
    glScalef(static_cast<GLfloat>(glyphWidth), static_cast<GLfloat>(glyphHeight), 1);

    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_LIGHTING);

    for (char* c = text; *c != '\0'; ++c) {
        *c = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
        // Bytes above 127 are negative as char and would name a list below
        // the block, which may belong to someone else: they draw nothing.
        // So does everything on a font whose lists were never built.
        const int code = static_cast<signed char>(*c);
        if (listBase != 0 && code >= 0) glCallList(listBase + static_cast<GLuint>(code));
        glTranslatef(1, 0, 0);
    }

    resetRenderState();
}

void TileFont::setGlyphSize(int width, int height) {
    glyphWidth = width;
    glyphHeight = height;
}
