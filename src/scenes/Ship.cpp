#include "scenes/Ship.h"

#include <GL/gl.h>

#include <string>

#include "effects/SkyBox.h"
#include "model/Light.h"
#include "model/Model.h"
#include "music/Cues.h"
#include "music/Music.h"
#include "platform/DataFiles.h"
#include "render/Picture.h"
#include "render/RenderState.h"
#include "scenes/Tumble.h"

namespace {

// The applause runs across the screen; the strip that replaces it stands at the left.
constexpr PictureArea kApplauseStrip{0, 0, 640, 100};
constexpr PictureArea kLeetStrip{0, 0, 150, 480};

}  // namespace

void ShipScene::shipInit() {
    SkyBox& sky = cast.shipSky;
    sky.setDepth(300);
    sky.setHeight(100);
    sky.setWidth(200);
    sky.setScrollingTop(true);
    sky.setTopScrollSpeed(20);
    sky.loadTextureMinusZ(platform::files::kEnvJpg.name);
    sky.loadTexturePlusZ(platform::files::kEnvJpg.name);
    sky.loadTextureMinusX(platform::files::kEnvJpg.name);
    sky.loadTexturePlusX(platform::files::kEnvJpg.name);
    sky.loadTextureTop(platform::files::kSkyJpg.name);
    sky.loadTextureBottom(platform::files::kGrassJpg.name);
    cast.shipModel.shaders.setEnvMapTexture(platform::files::kEnvJpg.name);
    cast.shipModel.shaders.selectEnvMap();
    cast.shipTitlePicture.load(platform::files::kGsgJpg.name);
    cast.applausePicture.load(platform::files::kApplauseJpg.name);
    cast.leetPicture.load(platform::files::kLeetJpg.name);
}

bool ShipScene::shipRun() {
    const std::string tag = cast.music.getTag();
    resetRenderState();
    glLoadIdentity();
    if (tag == cue::kAllBalls) state.allBalls = true;
    if (tag == cue::kFadeOutScene2) state.fadeOut = true;
    if (tag == cue::kScene3) return false;

    cast.light0.enable();

    // The box and the ship turn alike, each about its own centre.
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -50.0f);
    applyTumble(state.time);
    cast.shipSky.draw();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -100.0f);
    applyTumble(state.time);
    cast.shipModel.draw(0);
    glPopMatrix();

    state.time += 1.0f;

    if (state.allBalls && !state.fadeOut) cast.applausePicture.draw(fadeIn(3000), kApplauseStrip);
    if (state.fadeOut) cast.leetPicture.draw(fadeIn(2000), kLeetStrip);
    cast.shipTitlePicture.draw(fadeOut(6000, 0.8f), kWholeScreen);
    return true;
}
