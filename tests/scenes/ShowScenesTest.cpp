// The chess, ship and alien scenes frame by frame in a real context, on the
// short pack's files, with cues delivered as the sound layer delivers them
// and time and the space bar scripted.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "AudioDriver.h"
#include "GlContext.h"
#include "ManualClock.h"
#include "effects/ParticleSystem.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "model/Model.h"
#include "music/Music.h"
#include "music/SyncTag.h"
#include "platform/KeyState.h"
#include "render/Picture.h"
#include "render/PictureReadAhead.h"
#include "render/RenderState.h"
#include "render/Texture.h"
#include "scenes/Alien.h"
#include "scenes/Chess.h"
#include "scenes/Credits.h"
#include "scenes/Ship.h"
#include "show/ShowLights.h"
#include "show/ShowObjects.h"

using testsupport::GlTest;
using testsupport::pixelAt;

namespace {

// Every object the three scenes use, built from the short pack.
struct Stage {
    Music music{"demot.wav", 255};
    Light light0;
    Light light1{1, 1, 1, 1, 1, 1, -4};
    SkyBoxScroll skyScroll;
    SkyBox chessRoom{skyScroll}, chessCube{skyScroll}, shipSky{skyScroll};
    Model queenModel{"demoMesh\\queen.3ds"};
    Model kingModel{"demoMesh\\king_h.3ds"};
    Model pawnModel{"demoMesh\\pawn.3ds"};
    Model shipModel{"demoMesh\\ship_adv.3ds"};
    Model speakerModel{"demoMesh\\spheaker.3ds"};
    Model luvshakModel{"demoMesh\\luvshak.3ds"};
    Model alienShipModel{"demoMesh\\ship_adv.3ds"};
    ParticleSystem smokeParticles;
    Picture queenPicture, kingPicture, peasantsPicture, logoPicture;
    Picture shipTitlePicture, applausePicture, leetPicture;
    Picture toon1Picture, toon2Picture, toon3Picture, boomPicture;
    Texture tgaTexture;
};

double litFraction(int threshold = 24) {
    const std::vector<std::uint8_t> frame = testsupport::readFrame(640, 480);
    size_t lit = 0;
    for (size_t i = 0; i < frame.size(); i += 4) {
        if (frame[i] > threshold || frame[i + 1] > threshold || frame[i + 2] > threshold) ++lit;
    }
    return static_cast<double>(lit) / (640.0 * 480.0);
}

class ShowScenesTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        setShowProjection();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(MARROWICK_PACK_DIR);
        stage = std::make_unique<Stage>();
        Stage& s = *stage;
        setUpShowLights(s.light0, s.light1);
        chess = std::make_unique<ChessScene>(ChessCast{
            s.music, s.chessRoom, s.chessCube, s.queenModel, s.kingModel, s.pawnModel, s.smokeParticles, s.queenPicture,
            s.kingPicture, s.peasantsPicture, s.logoPicture, s.tgaTexture, s.light0, s.light1});
        ship = std::make_unique<ShipScene>(
            ShipCast{s.music, s.shipSky, s.shipModel, s.shipTitlePicture, s.applausePicture, s.leetPicture, s.light0});
        alien = std::make_unique<AlienScene>(AlienCast{s.music, s.speakerModel, s.luvshakModel, s.alienShipModel,
                                                       s.toon1Picture, s.toon2Picture, s.toon3Picture, s.boomPicture});
        platform::setSpaceKeySource([this] { return spaceDown; });
        Music::getTag();
    }

    void TearDown() override {
        std::filesystem::current_path(previous);
        GlTest::TearDown();
        platform::setSpaceKeySource({});
        chess.reset();
        ship.reset();
        alien.reset();
        stage.reset();
    }

    using Run = std::function<bool()>;
    // What the show's display does around a scene, with an optional cue.
    bool frame(const Run& run, const char* tag = nullptr) {
        if (tag != nullptr) showSyncTag().post(tag);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        return run();
    }
    void frames(const Run& run, int count) {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(frame(run));
    }

    testsupport::AudioDriver audio{"dummy"};
    testsupport::ManualClock clock{100000};
    std::filesystem::path previous;
    std::unique_ptr<Stage> stage;
    std::unique_ptr<ChessScene> chess;
    std::unique_ptr<ShipScene> ship;
    std::unique_ptr<AlienScene> alien;
    bool spaceDown = false;

    const Run chessRun = [this] { return chess->chessRun(); };
    const Run shipRun = [this] { return ship->shipRun(); };
    const Run alienRun = [this] { return alien->alienRun(); };
    const ChessState& chessState() const { return chess->getState(); }
    const ShipState& shipState() const { return ship->getState(); }
    const AlienState& alienState() const { return alien->getState(); }
};

// Start-up decodes ahead the pictures that the init functions then load,
// each as often as it is loaded (the intro's loads none at start-up).
TEST_F(ShowScenesTest, StartUpReadsAheadJustThePicturesTheInitsLoad) {
    Picture creditsPicture, salutePicture;
    CreditsScene credits({stage->music, creditsPicture, salutePicture});
    PictureReadAhead readAhead(startUpPictures(), 2);
    setPictureReadAhead(&readAhead);
    credits.creditsInit();
    chess->chessInit();
    ship->shipInit();
    alien->alienInit();
    setPictureReadAhead(nullptr);
    EXPECT_EQ(readAhead.unmatched(), std::vector<std::string>{});
}

class ChessSceneTest : public ShowScenesTest {
protected:
    void SetUp() override {
        ShowScenesTest::SetUp();
        chess->chessInit();
    }
};

TEST_F(ChessSceneTest, RollTakesAHundredFramesAndARestartBeginsAgainFromZero) {
    ASSERT_TRUE(frame(chessRun, "queenRoll"));
    EXPECT_FLOAT_EQ(chessState().rollAngle, -0.5f);
    EXPECT_FLOAT_EQ(chessState().rollLift, 0.14f);
    frames(chessRun, 49);
    EXPECT_FLOAT_EQ(chessState().rollAngle, -25.0f);
    ASSERT_TRUE(frame(chessRun, "queenRoll2"));
    EXPECT_FLOAT_EQ(chessState().rollAngle, -0.5f) << "a restart begins again from 0";
    frames(chessRun, 99);
    EXPECT_FLOAT_EQ(chessState().rollAngle, -50.0f);
    EXPECT_FALSE(chessState().rolling);
    EXPECT_NEAR(chessState().rollLift, 14.0f, 1e-3);
    frames(chessRun, 5);
    EXPECT_FLOAT_EQ(chessState().rollAngle, -50.0f) << "the roll holds at its end";
}

TEST_F(ChessSceneTest, SpaceBarIsIgnoredWithinEightyMillisecondsOfTheFirstFrame) {
    spaceDown = true;
    ASSERT_TRUE(frame(chessRun));  // the first call takes the time of the last press
    clock.advance(79);
    ASSERT_TRUE(frame(chessRun));
    EXPECT_FALSE(chessState().rolling);
    clock.advance(1);
    ASSERT_TRUE(frame(chessRun));
    EXPECT_TRUE(chessState().rolling);
    ASSERT_TRUE(frame(chessRun));
    EXPECT_FLOAT_EQ(chessState().rollAngle, -0.5f);
    // Held down, it restarts the roll every 80 ms.
    frames(chessRun, 10);
    EXPECT_FLOAT_EQ(chessState().rollAngle, -5.5f);
    clock.advance(80);
    frames(chessRun, 2);
    EXPECT_FLOAT_EQ(chessState().rollAngle, -0.5f);
}

TEST_F(ChessSceneTest, AfterOutKingARestartedRollStaysAtItsFirstStep) {
    ASSERT_TRUE(frame(chessRun, "queenRoll"));
    frames(chessRun, 99);
    ASSERT_TRUE(frame(chessRun, "outKing"));
    frames(chessRun, 100);
    EXPECT_FLOAT_EQ(chessState().rollAngle, 0.0f);
    ASSERT_TRUE(frame(chessRun, "queenRoll"));
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(frame(chessRun));
        EXPECT_FLOAT_EQ(chessState().rollAngle, -0.5f);
        EXPECT_FLOAT_EQ(chessState().rollLift, 0.14f);
        EXPECT_TRUE(chessState().rolling);
    }
}

TEST_F(ChessSceneTest, QueenIsThrownOffAndTheKingComesWithHisCard) {
    ASSERT_TRUE(frame(chessRun));
    const double queenInView = litFraction(150);
    const double board = litFraction();
    EXPECT_GT(queenInView, 0.002) << "the ivory queen stands on the board";
    ASSERT_TRUE(frame(chessRun, "queenText"));
    EXPECT_GT(litFraction(), 0.6) << "the title card covers the screen at full opacity";
    EXPECT_GT(litFraction(), board + 0.2);
    ASSERT_TRUE(frame(chessRun, "queenThrow"));
    frames(chessRun, 40);
    EXPECT_FLOAT_EQ(chessState().throwX, 164.0f);
    EXPECT_FLOAT_EQ(chessState().throwSpin, 1230.0f);
    EXPECT_LT(litFraction(150), queenInView / 4) << "the queen has been thrown out of view";
    ASSERT_TRUE(frame(chessRun, "kingStart"));
    EXPECT_FALSE(chessState().queenShown);
    EXPECT_GT(litFraction(), 0.6) << "the king's card starts fully opaque";
    EXPECT_FLOAT_EQ(stage->kingPicture.getAlpha(), 1.0f - 0.6f / 80.0f);
}

TEST_F(ChessSceneTest, PeasantsViewChangesTheLightsForGood) {
    ASSERT_TRUE(frame(chessRun));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    ASSERT_TRUE(frame(chessRun, "pesants"));
    frames(chessRun, 140);  // the card has faded
    EXPECT_GT(litFraction(), 0.6) << "inside the chess cube the marble fills the view";
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    std::array<GLfloat, 4> ambient{};
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, ambient.data());
    EXPECT_EQ(ambient, (std::array<GLfloat, 4>{1, 1, 1, 1}));
}

TEST_F(ChessSceneTest, FrameAfterGraphical2DrawsNothingAndEndsTheScene) {
    ASSERT_TRUE(frame(chessRun, "graphical"));
    EXPECT_TRUE(chessState().graphical);
    ASSERT_TRUE(frame(chessRun, "graphical2")) << "the frame that sees the cue is still drawn";
    EXPECT_GT(litFraction(), 0.02);
    EXPECT_FALSE(frame(chessRun));
    EXPECT_EQ(litFraction(0), 0.0);
    EXPECT_FALSE(frame(chessRun));
}

class ShipSceneTest : public ShowScenesTest {
protected:
    void SetUp() override {
        ShowScenesTest::SetUp();
        ship->shipInit();
    }
};

TEST_F(ShipSceneTest, TumblesUntilScene3WhoseFrameIsEmpty) {
    frames(shipRun, 700);  // the title has faded out
    EXPECT_GT(litFraction(), 0.5) << "the sky box surrounds the ship";
    EXPECT_FLOAT_EQ(shipState().time, 700.0f);
    EXPECT_FALSE(frame(shipRun, "scene3"));
    EXPECT_EQ(litFraction(0), 0.0);
    EXPECT_FLOAT_EQ(shipState().time, 700.0f) << "the tumbling stops with the scene";
}

TEST_F(ShipSceneTest, FadeOutBeforeAllBallsNeverShowsTheApplauseStrip) {
    ASSERT_TRUE(frame(shipRun, "fadeOutScene2"));
    ASSERT_TRUE(frame(shipRun, "allBalls"));
    frames(shipRun, 50);
    EXPECT_EQ(stage->applausePicture.getAlpha(), 0.0f);
    EXPECT_NEAR(stage->leetPicture.getAlpha(), 52.0f / 160.0f, 1e-4);
}

class AlienSceneTest : public ShowScenesTest {
protected:
    void SetUp() override {
        ShowScenesTest::SetUp();
        alien->alienInit();
    }
};

// The walker steps 0.1 a frame, 2.1 beyond depth 70 and 6.1 beyond 800; the
// ship waits for a strip, and the first comes by itself once the walker is gone.
TEST_F(AlienSceneTest, TheWalkerSpeedsUpTwiceAndOnceGoneTheShipComesByItself) {
    std::array<int, 3> framesAtStep{};
    while (alienState().chase < 1000.0f) {
        const double before = alienState().chase;
        ASSERT_TRUE(frame(alienRun));
        const double step = alienState().chase - before, passed = before + 0.1;
        const int speed = passed < 69.99                          ? 0
                          : passed > 70.01 && passed + 2 < 799.99 ? 1
                          : passed + 2 > 800.01                   ? 2
                                                                  : -1;  // too near a limit to tell
        if (speed >= 0) {
            ASSERT_NEAR(step, (std::array<double, 3>{0.1, 2.1, 6.1})[speed], 1e-3) << "from depth " << before;
            ++framesAtStep[speed];
        }
        ASSERT_EQ(alienState().approach, 0.0f) << "no strip yet: the ship waits";
        ASSERT_FALSE(alienState().toon1);
    }
    EXPECT_GT(framesAtStep[0], 650);
    EXPECT_GT(framesAtStep[1], 300);
    EXPECT_GT(framesAtStep[2], 20);
    ASSERT_TRUE(frame(alienRun));
    EXPECT_TRUE(alienState().toon1) << "with the walker gone the first strip comes by itself";
    EXPECT_FLOAT_EQ(alienState().approach, 0.5f);
    frames(alienRun, 259);
    EXPECT_FLOAT_EQ(alienState().approach, 130.0f);
    frames(alienRun, 10);
    EXPECT_FLOAT_EQ(alienState().approach, 130.0f) << "arrived: now it tumbles";
    EXPECT_FLOAT_EQ(alienState().shipTime, 135.0f);
}

TEST_F(AlienSceneTest, KubeShowWithTheFirstStripStillSetDrawsTheExplosionOnTop) {
    ASSERT_TRUE(frame(alienRun, "alienSuicide"));
    ASSERT_TRUE(frame(alienRun, "alienSuicide3"));
    ASSERT_TRUE(frame(alienRun, "kubeShow"));
    EXPECT_TRUE(alienState().boom);
    EXPECT_FALSE(alienState().toon3);
    frames(alienRun, 90);
    EXPECT_TRUE(alienState().toon1);
    EXPECT_GE(stage->toon1Picture.getAlpha(), 1.0f);
    EXPECT_GE(stage->boomPicture.getAlpha(), 1.0f);
    const testsupport::Rgba inStrip = pixelAt(50, 240);
    const testsupport::Rgba outside = pixelAt(400, 240);

    // The explosion alone, fully opaque, over a cleared screen.
    Picture boomAlone;
    boomAlone.load("ting\\boom.jpg");
    for (int i = 0; i < 50; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        boomAlone.draw(500, 1, 640, 480, 0, 0, 1.0f);
    }
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(inStrip[c], pixelAt(50, 240)[c], 2) << "the strip shows through the explosion";
        EXPECT_NEAR(outside[c], pixelAt(400, 240)[c], 2);
    }
}

TEST_F(AlienSceneTest, LittleChaseFrameDrawsNothingAndEndsTheScene) {
    ASSERT_TRUE(frame(alienRun, "alienSuicide"));
    EXPECT_GT(litFraction(), 0.02);
    EXPECT_FALSE(frame(alienRun, "littleChase"));
    EXPECT_EQ(litFraction(0), 0.0);
}

}  // namespace
