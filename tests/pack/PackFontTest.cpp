// The data pack's font file, made by the generator and read back through the
// show's own reader. How it looks on screen is the intro's test.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CountingStream.h"
#include "WorkingDirectory.h"
#include "pack/PackContext.h"
#include "pack/font/FontGenerator.h"
#include "text/TileFile.h"

using testsupport::CountingStream;
using testsupport::WorkingDirectory;

namespace {

constexpr std::string_view kGlyphs = "abcdefghijklmnopqrstuvwxyz0123456789";

std::vector<unsigned char> generateFont(const std::filesystem::path& dir) {
    PackContext pack;
    pack.outDir = dir;
    writeFont(pack);
    std::ifstream file(dir / "transFont.tle", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Tile lookUp(const std::vector<unsigned char>& bytes, const char* tag) {
    CountingStream stream(bytes);
    char nameBuffer[kTileNameSize];
    TileFileHeader header;
    Tile tile;
    EXPECT_EQ(findTile(stream.file(), tag, nameBuffer, header, tile), TileSearch::Found) << tag;
    EXPECT_EQ(header.pixelFormat, GL_RGBA);
    return tile;
}

}  // namespace

TEST(GeneratedFont, IsTheSameByteForByteOnEveryRun) {
    WorkingDirectory dir;
    const auto first = generateFont(dir.path() / "one");
    const auto second = generateFont(dir.path() / "two");
    ASSERT_GT(first.size(), 17u);
    EXPECT_TRUE(first == second);
}

TEST(GeneratedFont, GlyphsAreAntialiasedInkInsideTransparentMargins) {
    WorkingDirectory dir;
    const auto bytes = generateFont(dir.path());
    std::set<std::vector<unsigned char>> distinct;
    for (const char c : kGlyphs) {
        const char tag[] = {c, '\0'};
        const Tile tile = lookUp(bytes, tag);
        ASSERT_EQ(tile.bytesPerPixel, 4) << c;
        ASSERT_GE(tile.rows, 16) << c;
        ASSERT_EQ(tile.rows, tile.columns) << c;
        const auto alpha = [&](int x, int y) {
            return tile.pixels[static_cast<std::size_t>((y * tile.columns + x) * 4 + 3)];
        };
        int solid = 0, edge = 0, marginInk = 0;
        for (int y = 0; y < tile.rows; ++y) {
            for (int x = 0; x < tile.columns; ++x) {
                solid += alpha(x, y) == 255;
                edge += alpha(x, y) > 0 && alpha(x, y) < 255;
            }
            // Glyphs are drawn edge to edge: the outer columns are the spacing.
            marginInk += alpha(0, y) + alpha(tile.columns - 1, y);
        }
        EXPECT_GT(solid, tile.rows) << c << " has too little ink to read";
        EXPECT_GT(edge, 0) << c << " has hard edges: alpha must come from coverage";
        EXPECT_EQ(marginInk, 0) << c << " touches its neighbours";
        EXPECT_TRUE(distinct.insert(tile.pixels).second) << c << " looks like another glyph";
    }
}

TEST(GeneratedFont, GlyphLookupsPassOverLargerTilesWithoutReadingThem) {
    WorkingDirectory dir;
    const auto bytes = generateFont(dir.path());
    CountingStream stream(bytes);
    char nameBuffer[kTileNameSize];
    TileFileHeader header;
    Tile nine;
    ASSERT_EQ(findTile(stream.file(), "9", nameBuffer, header, nine), TileSearch::Found);
    const std::size_t glyphBytes = nine.pixels.size();
    // The last glyph's lookup reads the names and sizes of the records
    // before it and that glyph, never the pixels of the tiles in between.
    EXPECT_GT(bytes.size(), 40 * glyphBytes) << "no large tiles for the lookup to skip";
    EXPECT_LT(stream.bytesRead(), 2 * glyphBytes);
}
