// The intro run frame by frame in a real context, with tags delivered as the
// sound layer would deliver them. Glyphs of the test font are solid squares,
// so every character cell reads back as a sharp rectangle.
#include "scenes/Intro.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "AudioDriver.h"
#include "GlContext.h"
#include "TestData.h"
#include "TileFileBytes.h"
#include "WorkingDirectory.h"
#include "music/Music.h"
#include "music/SyncTag.h"
#include "render/RenderState.h"
#include "render/Texture.h"
#include "text/TileFont.h"

using testsupport::GlTest;
using testsupport::pixelAt;
using testsupport::Rgba;

namespace {

constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kChessBlue{0, 0, 255, 255};

void writeSolidFont() {
    testsupport::TileFileBytes file(GL_RGBA, 1);
    for (const char c : std::string_view("abcdefghijklmnopqrstuvwxyz0123456789")) {
        const char name[] = {c, '\0'};
        file.record({name, 2}, 2, 4, 4, 4, std::vector<unsigned char>(4 * 4 * 4, 255));
    }
    file.writeTo("transFont.tle");
}

int chessFrames = 0;
Rgba chessColour = kChessBlue;

// Stands in for the chess scene: fills the screen with one colour, so
// whatever the intro draws afterwards shows on top of it.
bool fakeChessRun() {
    ++chessFrames;
    enter2D(0, 0, 640, 480);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);  // a backdrop: the real scene's depth lies far behind the overlay
    glColor3ub(chessColour[0], chessColour[1], chessColour[2]);
    glRectf(0, 0, 640, 480);
    resetRenderState();
    return true;
}

bool inked(int x, int y) { return pixelAt(x, y) != kBlack; }

class IntroTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setShowProjection();
        chessFrames = 0;
        chessColour = kChessBlue;
        // Every test here plays a real sound file, and most show a real picture.
        SKIP_WITHOUT_TESTDATA();
        std::filesystem::copy_file(testsupport::testDataPath("jpg/pillow/hopper.jpg"), "cockAttack.jpg");
    }

    // Builds the cast over whatever font file the test wrote.
    void startIntro() {
        font = std::make_unique<TileFont>(14, 14);
        font->buildGlyphLists();
        music = std::make_unique<Music>(testsupport::testDataPath("wav/go-audio/kick.wav").c_str(), 255);
        Music::getTag();  // nothing pending from before
        intro = std::make_unique<IntroScene>(IntroCast{*music, *font, logo, fakeChessRun});
        intro->introInit();
    }

    void TearDown() override {
        dir.leave();  // so a failure's screenshot lands beside the test, not in the scratch directory
        GlTest::TearDown();
    }

    // What the show's display does around a scene.
    void frame(const char* tag = nullptr) {
        if (tag != nullptr) showSyncTag().post(tag);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        intro->introRun();
    }

    testsupport::WorkingDirectory dir;
    testsupport::AudioDriver audio{"dummy"};
    std::unique_ptr<TileFont> font;
    std::unique_ptr<Music> music;
    Texture logo;
    std::unique_ptr<IntroScene> intro;
};

}  // namespace

TEST_F(IntroTest, LogoStripSlidesInTenPixelsAFrameFromMinus500) {
    writeSolidFont();
    startIntro();
    EXPECT_EQ(logo.getFormat(), TextureFormat::Jpg);
    EXPECT_EQ(logo.getName(), 0u);  // nothing loaded before "01"

    for (int n = 1; n <= 60; ++n) {
        frame();
        int covered = 0;
        for (int x = 0; x < 640; ++x) covered += inked(x, 400);
        // 182.857 pixels wide: its right edge reaches the screen in frame 33.
        const int expected = n <= 32 ? 0 : n <= 51 ? 3 + 10 * (n - 33) : 183;
        ASSERT_EQ(covered, expected) << "frame " << n;
        ASSERT_TRUE(inked(0, 400) == (n >= 33)) << "frame " << n;
    }
}

TEST_F(IntroTest, BobbingLineIsTruncatedTowardZero) {
    writeSolidFont();
    startIntro();
    // Column 571 crosses "intro", the part of the line that no other text reaches.
    float time = 0.0f;
    int truncatedFrames = 0;
    for (int n = 1; n <= 300; ++n) {
        const double value = std::sin(time / 50.0) * 100.0 + 50.0;
        const int y = static_cast<int>(std::trunc(value));
        if (value < 0 && value > -13 && std::floor(value) != y) ++truncatedFrames;
        time += 0.7f;

        frame();
        int bottom = -1;
        for (int row = 0; row < 480; ++row) {
            if (inked(571, row)) bottom = row;
        }
        const int expectedBottom = y + 13 >= 0 ? y + 13 : -1;
        ASSERT_EQ(bottom, expectedBottom) << "frame " << n << ", value " << value;
    }
    EXPECT_GT(truncatedFrames, 3) << "the run never reached a visible negative position";
}

TEST_F(IntroTest, AfterTag02AllFourTextsUse30PixelGlyphs) {
    writeSolidFont();
    startIntro();

    frame();
    EXPECT_TRUE(inked(210, 7));  // the top line, 14 high
    EXPECT_FALSE(inked(210, 20));
    EXPECT_FALSE(inked(300, 120)) << "no name before \"02\"";

    frame("02");  // read after the two lines: they are still small
    EXPECT_FALSE(inked(210, 20));
    EXPECT_TRUE(inked(600, 57));  // the bobbing line at y = 51, 14 high
    EXPECT_FALSE(inked(600, 70));
    EXPECT_TRUE(inked(300, 120));   // the name at (206, 106), 30 high
    EXPECT_TRUE(inked(300, 90));    // its echo at (197, 76)
    EXPECT_FALSE(inked(450, 120));  // eight glyphs of 30 end at 446

    frame();
    EXPECT_EQ(font->getGlyphWidth(), 30);
    EXPECT_TRUE(inked(210, 20));  // the top line, now 30 high
    EXPECT_TRUE(inked(600, 70));  // the bobbing line at y = 52, 30 high
    EXPECT_FALSE(inked(600, 85));
}

TEST_F(IntroTest, Tag01StartsTheChessSceneUnderTheTitlesAndLoadsTheLogo) {
    writeSolidFont();
    startIntro();
    for (int n = 0; n < 51; ++n) frame();
    EXPECT_EQ(chessFrames, 0);
    EXPECT_EQ(pixelAt(90, 400), (Rgba{255, 255, 255, 255})) << "the strip has no picture yet";

    frame("01");
    EXPECT_EQ(chessFrames, 0) << "the tag is read after this frame's chess would have run";
    EXPECT_NE(logo.getName(), 0u);

    frame();
    frame();
    EXPECT_EQ(chessFrames, 2);
    EXPECT_EQ(pixelAt(620, 400), kChessBlue);
    EXPECT_EQ(pixelAt(207, 7), (Rgba{255, 255, 255, 255})) << "the titles are drawn over the chess scene";
    const Rgba strip = pixelAt(90, 400);
    EXPECT_NE(strip, kChessBlue);
    EXPECT_NE(strip, (Rgba{255, 255, 255, 255})) << "the strip shows the logo picture";
}

TEST_F(IntroTest, TitleWithThePacksFontAndLogo) {
    const std::filesystem::path pack = MARROWICK_PACK_DIR;
    for (const char* file : {"transFont.tle", "cockAttack.jpg"}) {
        std::filesystem::copy_file(pack / file, file, std::filesystem::copy_options::overwrite_existing);
    }
    startIntro();
    chessColour = Rgba{10, 12, 40, 255};
    const std::string shots = std::string(MARROWICK_BINARY_DIR) + "/test-screenshots/";

    frame("01");
    for (int n = 0; n < 55; ++n) frame();
    testsupport::saveFramePng(shots + "Intro-title-14.png", 640, 480);
    // The top line's letters, 14 pixels apart, are gold over the backdrop.
    const auto goldCells = [](int size, int cells) {
        int gold = 0;
        for (int cell = 0; cell < cells; ++cell) {
            bool found = false;
            for (int y = 0; y < size && !found; ++y) {
                for (int x = 200 + cell * size; x < 200 + (cell + 1) * size && x < 640 && !found; ++x) {
                    const Rgba p = pixelAt(x, y);
                    found = p[0] > 150 && p[1] > 80 && p[2] < 120;
                }
            }
            gold += found;
        }
        return gold;
    };
    EXPECT_EQ(goldCells(14, 23), 21) << "\"the quillory foundation\" has 21 letters";

    frame("02");
    frame();
    testsupport::saveFramePng(shots + "Intro-title-30.png", 640, 480);
    EXPECT_EQ(goldCells(30, 15), 13) << "the letters of \"the quillory fo\" that fit the screen";
}
