#include <GL/gl.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AudioDriver.h"
#include "FatalExitExpectation.h"
#include "GlContext.h"
#include "ImageFiles.h"
#include "WavBuilder.h"
#include "music/Music.h"
#include "music/SyncTag.h"
#include "render/Picture.h"
#include "render/RenderState.h"
#include "scenes/Credits.h"

namespace fs = std::filesystem;
using testsupport::pixelAt;
using testsupport::Rgba;

namespace {

void writeFlatJpg(const fs::path& path, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 32 * 32; ++i) rgb.insert(rgb.end(), {r, g, b});
    testsupport::writeJpg(path.string(), JCS_RGB, 3, 32, 32, rgb);
}

}  // namespace

// Each test runs in a directory laid out as the show's data: a silent track
// and the two closing pictures, red credits and a blue salute.
class CreditsTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setShowProjection();
        dir = fs::temp_directory_path() / ("marrowick-credits-" + std::to_string(::getpid()));
        fs::create_directories(dir / "ting");
        previous = fs::current_path();
        fs::current_path(dir);
        writeFlatJpg(dir / "ting" / "credits.jpg", 255, 0, 0);
        writeFlatJpg(dir / "ting" / "salute.jpg", 0, 0, 255);
        testsupport::writeWav("demot.wav", 44100, 2, 4410, {});
        music = std::make_unique<Music>("demot.wav", 255);
        credits = std::make_unique<CreditsScene>(CreditsCast{*music, creditsPicture, salutePicture});
        Music::getTag();
    }
    void TearDown() override {
        GlTest::TearDown();
        fs::current_path(previous);
        fs::remove_all(dir);
    }

    // One frame of the show in the credits state.
    void frame() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        credits->creditsRun();
    }
    static Rgba centre() { return pixelAt(320, 240); }

    testsupport::AudioDriver driver{"dummy"};
    fs::path dir;
    fs::path previous;
    std::unique_ptr<Music> music;
    Picture creditsPicture;
    Picture salutePicture;
    std::unique_ptr<CreditsScene> credits;
};

TEST_F(CreditsTest, CreditsFadeInAloneUntilTheSaluteCue) {
    credits->creditsInit();
    frame();
    EXPECT_FLOAT_EQ(creditsPicture.getAlpha(), 1.0f / 80);
    for (int i = 0; i < 90; ++i) frame();
    EXPECT_GE(creditsPicture.getAlpha(), 1.0f);
    EXPECT_EQ(salutePicture.getAlpha(), 0.0f);  // never drawn: a first draw would have moved it
    const Rgba shown = centre();
    EXPECT_GT(shown[0], 245);
    EXPECT_LT(shown[2], 10);
}

TEST_F(CreditsTest, HandJobbSkipsTheCreditsOnceThenDrawsTheSaluteOnTopForGood) {
    credits->creditsInit();
    for (int i = 0; i < 40; ++i) frame();
    const float creditsBefore = creditsPicture.getAlpha();

    showSyncTag().post("handJobb");
    frame();
    EXPECT_EQ(creditsPicture.getAlpha(), creditsBefore);  // not drawn on the cue's frame
    EXPECT_FLOAT_EQ(salutePicture.getAlpha(), 1.0f / 80);
    EXPECT_LT(centre()[0], 5);  // only the salute, still transparent

    for (int i = 0; i < 40; ++i) frame();
    const Rgba halfway = centre();
    EXPECT_GT(halfway[0], 60);  // credits showing through the half-faded salute
    EXPECT_GT(halfway[2], 60);
    EXPECT_GT(creditsPicture.getAlpha(), creditsBefore);

    for (int i = 0; i < 60; ++i) frame();
    const Rgba shown = centre();
    EXPECT_GT(shown[2], 245);  // the salute drawn last, fully opaque
    EXPECT_LT(shown[0], 10);
}

TEST_F(CreditsTest, OnlyTheLaterOfTwoCuesBetweenFramesCounts) {
    credits->creditsInit();
    frame();
    showSyncTag().post("fadeToCredits");
    showSyncTag().post("handJobb");
    frame();  // would have ended the process if the first cue had counted
    EXPECT_FLOAT_EQ(salutePicture.getAlpha(), 1.0f / 80);
    showSyncTag().post("HANDJOBB");  // names compare exactly
    frame();
    EXPECT_FLOAT_EQ(salutePicture.getAlpha(), 2.0f / 80);
    EXPECT_FLOAT_EQ(creditsPicture.getAlpha(), 2.0f / 80);
}

using CreditsDeathTest = CreditsTest;

TEST_F(CreditsDeathTest, FadeToCreditsEndsTheProcessWithCodeZero) {
    credits->creditsInit();
    frame();
    EXPECT_FATAL_EXIT(
        {
            showSyncTag().post("fadeToCredits");
            credits->creditsRun();
        },
        "");
    // Passed within one frame of the salute cue: the salute never comes.
    EXPECT_FATAL_EXIT(
        {
            showSyncTag().post("handJobb");
            showSyncTag().post("fadeToCredits");
            credits->creditsRun();
        },
        "");
}

TEST_F(CreditsDeathTest, MissingSaluteEndsTheProcessWithTheJpgMessage) {
    fs::remove(dir / "ting" / "salute.jpg");
    EXPECT_FATAL_EXIT(credits->creditsInit(), "Unable to load JPG File!\n");
}

// The credits state as the show draws it, with the pack's own pictures.
TEST_F(CreditsTest, PackPicturesOnScreen) {
    fs::current_path(MARROWICK_PACK_DIR);
    credits->creditsInit();
    for (int i = 0; i < 90; ++i) frame();
    testsupport::saveFramePng(fs::path(previous / "test-screenshots/credits-pack-credits.png").string(), kWidth,
                              kHeight);
    const std::vector<std::uint8_t> credits = testsupport::readFrame(kWidth, kHeight);
    showSyncTag().post("handJobb");
    for (int i = 0; i < 90; ++i) frame();
    testsupport::saveFramePng(fs::path(previous / "test-screenshots/credits-pack-salute.png").string(), kWidth,
                              kHeight);
    const std::vector<std::uint8_t> salute = testsupport::readFrame(kWidth, kHeight);

    auto lit = [](const std::vector<std::uint8_t>& frame) {
        long bright = 0;
        for (std::size_t i = 0; i < frame.size(); i += 4) bright += (frame[i] + frame[i + 1] + frame[i + 2]) > 240;
        return bright;
    };
    long changed = 0;
    for (std::size_t i = 0; i < credits.size(); i += 4) changed += std::abs(credits[i] - salute[i]) > 40;
    const long pixels = kWidth * kHeight;
    EXPECT_GT(lit(credits), pixels / 50);  // lettering, not a black screen
    EXPECT_GT(lit(salute), pixels / 50);
    EXPECT_GT(changed, pixels / 4);  // the salute card covers the credits
}
