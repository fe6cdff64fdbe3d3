#include "text/TileFont.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "TileFileBytes.h"
#include "WorkingDirectory.h"
#include "render/RenderState.h"

using testsupport::GlTest;
using testsupport::pixelAt;
using testsupport::Rgba;
using testsupport::TileFileBytes;
using testsupport::WorkingDirectory;

namespace {

constexpr std::string_view kGlyphs = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr Rgba kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kBlack{0, 0, 0, 255};

std::vector<unsigned char> solid(Rgba colour, int side = 4) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < side * side; ++i) pixels.insert(pixels.end(), colour.begin(), colour.end());
    return pixels;
}

// Every glyph a solid 4x4 tile: "a" red, "b" green, "c" blue, the rest
// opaque white unless `special` says otherwise; headerWord 7. Glyphs named
// in `missing` are left out.
TileFileBytes glyphFont(const std::map<char, Rgba>& special = {}, std::string_view missing = "") {
    std::map<char, Rgba> colours{{'a', kRed}, {'b', kGreen}, {'c', kBlue}};
    for (const auto& [c, colour] : special) colours[c] = colour;
    TileFileBytes file(GL_RGBA, 7);
    for (const char c : kGlyphs) {
        if (missing.find(c) != std::string_view::npos) continue;
        const auto it = colours.find(c);
        const char name[] = {c, '\0'};
        file.record({name, 2}, 2, 4, 4, 4, solid(it != colours.end() ? it->second : Rgba{255, 255, 255, 255}));
    }
    return file;
}

bool near(const Rgba& a, const Rgba& b, int tolerance = 2) {
    for (int i = 0; i < 4; ++i) {
        if (std::abs(int{a[i]} - int{b[i]}) > tolerance) return false;
    }
    return true;
}

// The pixel (x, y) in the form gtest prints readably.
std::array<int, 4> at(int x, int y) {
    const Rgba p = pixelAt(x, y);
    return {p[0], p[1], p[2], p[3]};
}
std::array<int, 4> rgba(const Rgba& p) { return {p[0], p[1], p[2], p[3]}; }

GLint integer(GLenum what) {
    GLint v = -1;
    glGetIntegerv(what, &v);
    return v;
}

bool depthWrites() {
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    return mask == GL_TRUE;
}

class TileFontFile : public ::testing::Test {
protected:
    WorkingDirectory dir;
};

class TileFontTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        resetRenderState();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    WorkingDirectory dir;
};

}  // namespace

TEST_F(TileFontFile, EachFontPrintsTheHeaderLineAndKeepsItsSize) {
    glyphFont().writeTo("transFont.tle");
    ::testing::internal::CaptureStdout();
    const TileFont font14(14, 14);
    const TileFont font40(40, 40);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "TileFile 7 6408\nTileFile 7 6408\n");
    EXPECT_EQ(font14.getHeaderWord(), 7);
    EXPECT_EQ(font14.getPixelFormat(), GL_RGBA);
    EXPECT_EQ(font40.getGlyphWidth(), 40);
    EXPECT_EQ(font40.getGlyphHeight(), 40);
    EXPECT_EQ(font14.getLastTexture(), nullptr);
}

TEST_F(TileFontFile, ForeignMissingEmptyOrShortFilesEndTheProcess) {
    const char* message = "not a TileFile, exiting....\n";
    EXPECT_FATAL_EXIT(TileFont(14, 14), message);  // missing

    TileFileBytes ninthNotNul = glyphFont();
    ninthNotNul.bytes[8] = ' ';
    ninthNotNul.writeTo("transFont.tle");
    EXPECT_FATAL_EXIT(TileFont(14, 14), message);

    std::ofstream("transFont.tle", std::ios::trunc).close();
    EXPECT_FATAL_EXIT(TileFont(14, 14), message);

    TileFileBytes magicOnly;
    magicOnly.bytes.resize(9);
    magicOnly.writeTo("transFont.tle");
    EXPECT_FATAL_EXIT(TileFont(14, 14), message);
}

TEST_F(TileFontFile, UpperCaseTagMissesTheLowerCaseTile) {
    glyphFont().writeTo("transFont.tle");
    TileFont font(14, 14);
    EXPECT_FATAL_EXIT(font.loadTile("A"), "\n!!didn't find your tag,A exiting program!!\n");
    EXPECT_FATAL_EXIT(font.loadTile("quillory"), "\n!!didn't find your tag,quillory exiting program!!\n");
}

// A record with a field that cannot be right is a bad file; a file that
// ends inside its last record was cut short, and that record is not there.
TEST_F(TileFontFile, BadRecordsEndWithTheBadFileMessageAndATornLastOneWithTheTagMessage) {
    const std::vector<unsigned char> glyphs = glyphFont().bytes;
    TileFileBytes negativeRows(GL_RGBA, 7);
    negativeRows.record({"x\0", 2}, 2, -1, 4, 4, solid(kRed)).raw({glyphs.begin() + 17, glyphs.end()});
    TileFileBytes tornNine = glyphFont();
    tornNine.bytes.pop_back();  // the last record, "9", loses the last byte of its tail
    const struct {
        const char* what;
        const TileFileBytes& file;
        const char* tag;
        const char* message;
    } cases[] = {
        {"negative rows before the glyphs", negativeRows, "a", "Input file is bad.. kill program..!!\n"},
        {"the last record torn", tornNine, "9", "\n!!didn't find your tag,9 exiting program!!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.file.writeTo("transFont.tle");
        TileFont font(14, 14);
        EXPECT_FATAL_EXIT(font.loadTile(c.tag), c.message);
    }
}

TEST_F(TileFontTest, LoadedTileIsATextureOfTheFirstRecordWithItsTag) {
    std::vector<unsigned char> first(2 * 4 * 4);
    for (std::size_t i = 0; i < first.size(); ++i) first[i] = static_cast<unsigned char>(i * 7);
    TileFileBytes file(GL_RGBA, 3);
    file.tile("big", 64, 64, 4, 1).record({"b\0", 2}, 2, 2, 4, 4, first).tile("b", 2, 4, 4, 200);
    file.writeTo("transFont.tle");
    TileFont font(14, 14);

    const auto texture = font.loadTile("b");

    ASSERT_NE(texture, nullptr);
    ASSERT_NE(texture->getName(), 0u);
    glBindTexture(GL_TEXTURE_2D, texture->getName());
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 4);   // columns
    EXPECT_EQ(height, 2);  // rows
    std::vector<unsigned char> texels(first.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, first);
}

TEST_F(TileFontTest, GlyphListsAreABlockOf256EachBindingItsOwnTexture) {
    glyphFont().writeTo("transFont.tle");
    TileFont font(14, 14);
    font.buildGlyphLists();

    const GLuint base = font.getListBase();
    ASSERT_NE(base, 0u);
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 255));
    EXPECT_GE(glGenLists(1), base + 256);

    std::map<GLint, char> owner;
    for (const char c : kGlyphs) {
        glCallList(base + static_cast<GLuint>(c));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << c;
        const GLint bound = integer(GL_TEXTURE_BINDING_2D);
        EXPECT_NE(bound, 0) << c;
        EXPECT_TRUE(owner.emplace(bound, c).second) << c << " shares a texture with " << owner[bound];
    }
    ASSERT_NE(font.getLastTexture(), nullptr);
    glCallList(base + '9');
    EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), font.getLastTexture()->getName());
}

TEST_F(TileFontTest, LettersAreLoadedBeforeDigits) {
    glyphFont({}, "3q").writeTo("transFont.tle");
    TileFont font(14, 14);
    EXPECT_FATAL_EXIT(font.buildGlyphLists(), "\n!!didn't find your tag,q exiting program!!\n");
}

TEST_F(TileFontTest, GlyphsSitEdgeToEdgeAndUpperCaseDrawsLowerCase) {
    glyphFont().writeTo("transFont.tle");
    TileFont font(14, 14);
    font.buildGlyphLists();
    char text[] = "aBC";
    font.print(text, 100, 50);

    EXPECT_STREQ(text, "abc");
    const Rgba expected[] = {kRed, kGreen, kBlue};
    for (int n = 0; n < 3; ++n) {
        const int left = 100 + n * 14, right = left + 13;
        for (const int y : {50, 63}) {
            EXPECT_TRUE(near(pixelAt(left, y), expected[n])) << "glyph " << n << " at " << left << "," << y;
            EXPECT_TRUE(near(pixelAt(right, y), expected[n])) << "glyph " << n << " at " << right << "," << y;
        }
    }
    EXPECT_EQ(at(99, 56), rgba(kBlack));
    EXPECT_EQ(at(142, 56), rgba(kBlack));
    EXPECT_EQ(at(110, 49), rgba(kBlack));
    EXPECT_EQ(at(110, 64), rgba(kBlack));
}

TEST_F(TileFontTest, CharactersWithoutGlyphsDrawNothingButAdvance) {
    // A block of lists owned by someone else, just below the font's.
    const GLuint foreign = glGenLists(200);
    glyphFont().writeTo("transFont.tle");
    TileFont font(14, 14);
    font.buildGlyphLists();
    // As a signed char, 0xC1 is -63: its list would lie in the foreign block.
    const GLuint below = font.getListBase() - 63;
    ASSERT_GE(below, foreign);
    ASSERT_LT(below, foreign + 200);
    glNewList(below, GL_COMPILE);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glRectf(-10, -10, 10, 10);
    glEndList();

    char text[] =
        "a !\xC1"
        "b";
    font.print(text, 0, 100);

    EXPECT_TRUE(near(pixelAt(7, 107), kRed));
    for (const int blank : {1, 2, 3}) EXPECT_EQ(at(blank * 14 + 7, 107), rgba(kBlack)) << "cell " << blank;
    EXPECT_EQ(at(60, 60), rgba(kBlack));
    EXPECT_TRUE(near(pixelAt(4 * 14 + 7, 107), kGreen));
    EXPECT_EQ(at(5 * 14 + 7, 107), rgba(kBlack));
}

TEST_F(TileFontTest, ThirteenCharactersAt30By30Cover390Pixels) {
    glyphFont().writeTo("transFont.tle");
    TileFont font(14, 14);
    font.buildGlyphLists();
    font.setGlyphSize(30, 30);
    char text[] = "thirteen char";  // the blank is the ninth cell
    font.print(text, 5, 200);

    int inked = 0;
    for (int x = 0; x < 640; ++x) inked += pixelAt(x, 215) != kBlack;
    EXPECT_EQ(inked, 390 - 30);
    EXPECT_NE(at(5, 200), rgba(kBlack));
    EXPECT_NE(at(394, 229), rgba(kBlack));
    EXPECT_EQ(at(395, 215), rgba(kBlack));
    EXPECT_EQ(at(4, 215), rgba(kBlack));
    EXPECT_EQ(at(100, 230), rgba(kBlack));
}

TEST_F(TileFontTest, TranslucentGlyphsBlendWithoutWritingDepth) {
    glyphFont({{'h', Rgba{255, 255, 255, 128}}}).writeTo("transFont.tle");
    TileFont font(14, 14);
    font.buildGlyphLists();
    glClearColor(1, 0, 0, 1);
    glClearDepth(0.5);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDepthFunc(GL_ALWAYS);  // the text must not write depth even where it passes the test
    char text[] = "h";
    font.print(text, 10, 10);

    Rgba blended = pixelAt(16, 16);
    blended[3] = 255;  // the frame's alpha is blended too; only the colour shows
    EXPECT_TRUE(near(blended, Rgba{255, 128, 128, 255}, 3)) << ::testing::PrintToString(rgba(blended));
    float depth = 0;
    glReadPixels(16, 480 - 1 - 16, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_FLOAT_EQ(depth, 0.5f);
    EXPECT_TRUE(depthWrites());
}

TEST_F(TileFontTest, EmptyTextSetsAndResetsTheTextState) {
    glyphFont().writeTo("transFont.tle");
    TileFont font(14, 14);
    font.buildGlyphLists();
    char text[] = "";
    font.print(text, 0, 0);

    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);  // set, and left as set
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));  // reset
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_EQ(at(320, 240), rgba(kBlack));
}
