#include "scenes/Alien.h"

#include <GL/gl.h>

#include <string>

#include "model/Model.h"
#include "music/Cues.h"
#include "music/Music.h"
#include "platform/DataFiles.h"
#include "render/Picture.h"
#include "render/RenderState.h"
#include "scenes/Tumble.h"

namespace {

// The comic strips stand at the left edge, one at a time.
constexpr PictureArea kComicStrip{0, 0, 100, 480};

constexpr float kWalkerGone = 1000.0f;
constexpr double kWalkStep = 0.1;  // applied in double precision, kept as a float
constexpr float kShipArrived = 130.0f;

}  // namespace

void AlienScene::drawSpeakers() {
    glPushMatrix();
    glTranslatef(-40.0f, 0.0f, 0.0f);
    cast.speakerModel.draw(0);
    glTranslatef(80.0f, 0.0f, 0.0f);
    cast.speakerModel.draw(0);
    glPopMatrix();
}

// The walker starts just behind the viewer and speeds up twice as it goes.
void AlienScene::moveWalker() {
    glPushMatrix();
    glTranslatef(0.0f, -10.0f, 160.0f - state.chase);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    if (state.chase < kWalkerGone) {
        cast.luvshakModel.draw(0);
    } else {
        state.toon1 = true;  // once it has gone, the first strip and the ship stay
    }
    state.chase = static_cast<float>(state.chase + kWalkStep);
    if (state.chase > 70.0f) state.chase += 2.0f;
    if (state.chase > 800.0f) state.chase += 4.0f;
    glPopMatrix();
}

// The ship flies in from the right tipping over, then orbits tumbling.
void AlienScene::flyShip() {
    glPushMatrix();
    if (state.approach < kShipArrived) {
        state.approach += 0.5f;
    } else {
        applyTumble(state.shipTime);
    }
    glTranslatef(160.0f - state.approach, 0.0f, 50.0f);
    glRotatef(state.approach * 5.0f, 1.0f, 0.0f, 0.0f);
    cast.alienShipModel.draw(0);
    state.shipTime += 0.5f;
    glPopMatrix();
}

void AlienScene::alienInit() {
    cast.speakerModel.shaders.setEnvMapTexture(platform::files::kAlienEnvJpg.name);
    cast.speakerModel.shaders.selectEnvMap();
    cast.alienShipModel.shaders.setEnvMapTexture(platform::files::kAlienEnvJpg.name);
    cast.alienShipModel.shaders.selectEnvMap();
    cast.toon1Picture.load(platform::files::kToon1Jpg.name);
    cast.toon2Picture.load(platform::files::kToon2Jpg.name);
    cast.toon3Picture.load(platform::files::kToon3Jpg.name);
    cast.boomPicture.load(platform::files::kBoomJpg.name);
}

bool AlienScene::alienRun() {
    const std::string tag = cast.music.getTag();
    resetRenderState();
    glLoadIdentity();
    if (tag == cue::kAlienSuicide) state.toon1 = true;
    if (tag == cue::kAlienSuicide2) {
        state.toon2 = true;
        state.toon1 = false;
    }
    if (tag == cue::kAlienSuicide3) {
        state.toon2 = false;
        state.toon3 = true;
    }
    if (tag == cue::kLittleChase) return false;
    if (tag == cue::kKubeShow) {
        state.toon3 = false;
        state.boom = true;
    }

    glTranslatef(0.0f, 0.0f, -150.0f);
    drawSpeakers();
    moveWalker();
    if (state.toon1 || state.toon2 || state.toon3) flyShip();

    if (state.toon1) cast.toon1Picture.draw(fadeIn(1000), kComicStrip);
    if (state.toon2) cast.toon2Picture.draw(fadeIn(1000), kComicStrip);
    if (state.toon3) cast.toon3Picture.draw(fadeIn(1000), kComicStrip);
    if (state.boom) cast.boomPicture.draw(fadeIn(500), kWholeScreen);
    return true;
}
