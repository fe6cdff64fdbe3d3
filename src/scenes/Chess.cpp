#include "scenes/Chess.h"

#include <GL/gl.h>

#include <string>

#include "effects/ParticleSystem.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "model/Model.h"
#include "music/Cues.h"
#include "music/Music.h"
#include "platform/DataFiles.h"
#include "platform/KeyState.h"
#include "platform/Ticks.h"
#include "render/Picture.h"
#include "render/Texture.h"
#include "scenes/Tumble.h"

namespace {

// The logo strip stands at the left edge.
constexpr PictureArea kLogoStrip{0, 0, 100, 480};

// Roll steps are computed in double precision and kept as floats.
constexpr double kRollLiftStep = 0.14;
constexpr double kRollAngleStep = 0.5;
constexpr std::uint32_t kSpaceRepeatMs = 80;

}  // namespace

void ChessScene::startRoll() {
    state.rolling = true;
    state.rollAngle = 0.0f;
    state.rollLift = 0.0f;
}

void ChessScene::react(const std::string& tag) {
    if (tag == cue::kPesants) state.peasants = true;
    if (tag == cue::kGraphical) state.graphical = true;
    if (tag == cue::kGraphical2) state.finished = true;
    if (tag == cue::kQueenRoll || tag == cue::kQueenRoll2) startRoll();
    if (tag == cue::kQueenText) state.queenText = true;
    if (tag == cue::kQueenThrow) {
        state.throwing = true;
        state.queenText = false;
    }
    if (tag == cue::kKingStart) {
        state.throwing = false;
        state.queenShown = false;
        state.kingShown = true;
    }
    if (tag == cue::kOutKing) state.outKing = true;
}

void ChessScene::stepRoll() {
    if (state.outKing && state.rollAngle < 0.0f) {
        state.rollLift = static_cast<float>(state.rollLift - kRollLiftStep);
        state.rollAngle = static_cast<float>(state.rollAngle + kRollAngleStep);
    }
    if (state.rolling && state.rollAngle > -50.0f) {
        state.rollLift = static_cast<float>(state.rollLift + kRollLiftStep);
        state.rollAngle = static_cast<float>(state.rollAngle - kRollAngleStep);
    }
    if (state.rollAngle <= -50.0f) state.rolling = false;
}

// The board view: tilted down onto the floor of the turning room, then the
// frame the pieces stand in (left pushed for the caller to pop).
void ChessScene::enterBoardView() {
    glRotatef(65.0f + state.rollAngle, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, state.rollLift, state.rollLift / 100.0f - 10.0f);
    glTranslatef(0.0f, -20.0f, 0.0f);
    glPushMatrix();
    glRotatef(state.time, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 18.0f, 0.0f);
    cast.chessRoom.draw();
    glPopMatrix();
    glPushMatrix();
    glScalef(0.2f, 0.2f, 0.2f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 18.0f, -20.0f);
}

void ChessScene::drawPeasantsView() {
    glLoadIdentity();
    applyTumble(state.time);
    glPushMatrix();
    cast.chessCube.draw();
    glPopMatrix();
    glScalef(0.07f, 0.07f, 0.07f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, 10.0f);
    applyTumble(state.time);
    cast.pawnModel.draw(0);
}

void ChessScene::pollSpaceBar() {
    if (!platform::isSpaceDown()) return;
    if (static_cast<float>(platform::tickCount()) - state.lastSpaceTicks < static_cast<float>(kSpaceRepeatMs)) {
        return;
    }
    state.lastSpaceTicks = static_cast<float>(platform::tickCount());
    startRoll();
}

void ChessScene::chessInit() {
    SkyBox& room = cast.chessRoom;
    room.setDepth(20);
    room.setHeight(20);
    room.setWidth(20);
    room.loadTextureMinusZ(platform::files::kBlackJpg.name);
    room.loadTexturePlusZ(platform::files::kBlackJpg.name);
    room.loadTextureBottom(platform::files::kChessJpg.name);
    room.loadTextureMinusX(platform::files::kBlackJpg.name);
    room.loadTexturePlusX(platform::files::kBlackJpg.name);
    room.loadTextureTop(platform::files::kBlackJpg.name);
    room.setTextureStepV(5);
    room.setTopScrollSpeed(50);
    room.setScrollingTop(true);

    SkyBox& cube = cast.chessCube;
    cube.setDepth(20);
    cube.setHeight(20);
    cube.setWidth(20);
    cube.loadTextureMinusZ(platform::files::kChessJpg.name);
    cube.loadTexturePlusZ(platform::files::kChessJpg.name);
    cube.loadTextureBottom(platform::files::kChessJpg.name);
    cube.loadTextureMinusX(platform::files::kChessJpg.name);
    cube.loadTexturePlusX(platform::files::kChessJpg.name);
    cube.loadTextureTop(platform::files::kChessJpg.name);

    cast.smokeParticles.setParticleCount(300);
    cast.smokeParticles.loadTexture(platform::files::kSmokeJpg.name);

    cast.queenPicture.load(platform::files::kQueenJpg.name);
    cast.kingPicture.load(platform::files::kKingJpg.name);
    cast.tgaTexture.setFormat(TextureFormat::Tga);
    cast.tgaTexture.load(platform::files::kBoardTga.name);
    cast.kingModel.shaders.setEnvMapTexture(platform::files::kKingThingJpg.name);
    cast.kingModel.shaders.selectEnvMap();
    cast.peasantsPicture.load(platform::files::kPeasantsJpg.name);
    cast.pawnModel.shaders.setEnvMapTexture(platform::files::kBlodJpg.name);
    cast.pawnModel.shaders.selectEnvMap();
    cast.logoPicture.load(platform::files::kQuilloryJpg.name);
}

bool ChessScene::chessRun() {
    if (!state.begun) {
        state.begun = true;
        state.lastSpaceTicks = static_cast<float>(platform::tickCount());
    }
    glLoadIdentity();
    if (state.finished) return false;

    react(cast.music.getTag());
    stepRoll();

    if (!state.peasants) enterBoardView();
    if (state.throwing) {
        glTranslatef(state.throwX, 0.0f, 0.0f);
        glRotatef(state.throwSpin, 1.0f, 0.0f, 0.0f);
        state.throwX += 4.0f;
        state.throwSpin += 30.0f;
    }
    if (state.peasants) {
        drawPeasantsView();
    } else if (state.queenShown) {
        cast.queenModel.draw(0);
    } else if (state.kingShown) {
        cast.kingModel.draw(0);
        cast.kingPicture.draw(fadeOut(1000, 0.6f), kWholeScreen);
    }
    pollSpaceBar();
    if (!state.peasants) glPopMatrix();

    if (state.peasants) {
        cast.peasantsPicture.draw(fadeOut(1000, 0.6f), kWholeScreen);
        // Both changes outlast the scene: the ship is lit by them too.
        cast.light0.enable();
        cast.light1.setAmbient(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (state.queenText) cast.queenPicture.draw(fadeOut(1000, 0.6f), kWholeScreen);
    if (state.graphical) cast.logoPicture.draw(fadeIn(3000), kLogoStrip);

    state.time += 1.0f;
    return true;
}
