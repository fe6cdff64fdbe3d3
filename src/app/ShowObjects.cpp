// The global objects, in the order they are constructed, before main() runs
// and before any window exists. The order is part of the show: it decides
// which light gets which number, the order of the lines printed at start-up
// and which missing file is reported first. At exit they are destroyed in
// reverse order (each model writes its closing line).
#include "app/ShowObjects.h"

#include <GL/gl.h>

#include <cstdlib>
#include <iostream>  // standard output is ready before the first object prints

#include "app/FrameLimiter.h"
#include "app/ShowLights.h"
#include "app/Timer.h"
#include "effects/FaceCrossingTable.h"
#include "effects/MetaballField.h"
#include "effects/ParticleSystem.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "model/Model.h"
#include "music/Music.h"
#include "platform/Ticks.h"
#include "render/Material.h"
#include "render/Picture.h"
#include "render/RenderState.h"
#include "render/Texture.h"
#include "scenes/Alien.h"
#include "scenes/Chess.h"
#include "scenes/Credits.h"
#include "scenes/Intro.h"
#include "scenes/Ship.h"
#include "text/TileFont.h"

namespace {

Material& theDefaultMaterial = defaultMaterial();
Timer timer1;
Timer timer2;
Light light0;
Light light1(1, 1, 1, 1, 1, 1, -4);
FrameLimiter frameLimiter(80);
TileFont font14(14, 14);
Picture unusedPicture;
Texture unusedTexture1;
Texture unusedTexture2;
SkyBox unusedSkyBox;
Timer timer3;
Music music("demot.wav", 255);
Picture creditsPicture;
Picture salutePicture;
Texture introLogo;
SkyBox chessRoom;
SkyBox chessCube;
Model queenModel("demoMesh\\queen.3ds");
Model kingModel("demoMesh\\king_h.3ds");
Model pawnModel("demoMesh\\pawn.3ds");
ParticleSystem smokeParticles;
Picture queenPicture;
Picture kingPicture;
Picture peasantsPicture;
Picture logoPicture;
Texture chessTga;
SkyBox shipSky;
Model shipModel("demoMesh\\ship_adv.3ds");
Picture shipTitlePicture;
Picture applausePicture;
Picture leetPicture;
ParticleSystem unusedParticles1;
ParticleSystem unusedParticles2;
TileFont font40(40, 40);
Model speakerModel("demoMesh\\spheaker.3ds");
Model luvshakModel("demoMesh\\luvshak.3ds");
Model alienShipModel("demoMesh\\ship_adv.3ds");
Picture toon1Picture;
Picture toon2Picture;
Picture toon3Picture;
Picture boomPicture;

// The one metaball field: built and configured at start-up, never drawn.
MetaballField* metaballs = nullptr;

void castScenes() {
    setCreditsCast(CreditsCast{music, creditsPicture, salutePicture});
    setChessCast(ChessCast{music, chessRoom, chessCube, queenModel, kingModel, pawnModel, smokeParticles, queenPicture,
                           kingPicture, peasantsPicture, logoPicture, chessTga, light0, light1});
    setShipCast(ShipCast{music, shipSky, shipModel, shipTitlePicture, applausePicture, leetPicture, light0});
    setAlienCast(AlienCast{music, speakerModel, luvshakModel, alienShipModel, toon1Picture, toon2Picture,
                           toon3Picture, boomPicture});
    setIntroCast(IntroCast{music, font14, introLogo, chessRun});
}

// The start-up steps that need the window. Light positions are taken under
// the identity: no reshape has run yet.
void setUpShow() {
    castScenes();
    font14.buildGlyphLists();

    setUpShowLights(light0, light1);

    resetRenderState();
    timer2.start();
    std::srand(platform::tickCount());

    metaballs = new MetaballField;  // reseeds the random generator
    metaballs->allocateVertexBuffer();
    metaballs->allocateIndexBuffer();
    metaballs->setResolution(50);
    metaballs->setAmbient(0.2f, 0.2f, 0.2f, 1);
    metaballs->setDiffuse(1, 1, 1, 1);
    metaballs->setFace(GL_BACK);
    metaballs->setSpecular(0, 0, 0, 1);
    metaballs->setBallCount(10);
    metaballs->setTextured(true);
    buildFaceCrossingTable();

    timer3.start();
    music.setSyncCallback();
    creditsInit();
    chessInit();
    shipInit();
    alienInit();
    introInit();
    // Last, so that no cue passes before the scenes are ready for it.
    music.play();
}

}  // namespace

const ShowLoop& showLoop() {
    static const ShowLoop loop{setUpShow, SceneRunners{chessRun, shipRun, alienRun, creditsRun},
                               FrameClocks{timer1, timer2, timer3, frameLimiter}};
    return loop;
}
