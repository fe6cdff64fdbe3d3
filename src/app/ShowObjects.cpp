// The show's objects, in the order they are constructed, before any window
// exists. The order is part of the show: it decides which light gets which
// number, the order of the lines printed at start-up and which missing file
// is reported first. At exit they are destroyed in reverse order (each model
// writes its closing line).
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

// Members are built in the order they are declared and destroyed in reverse.
struct ShowObjects {
    Material& theDefaultMaterial = defaultMaterial();
    Timer timer1;
    Timer timer2;
    Light light0;
    Light light1{1, 1, 1, 1, 1, 1, -4};
    FrameLimiter frameLimiter{80};
    TileFont font14{14, 14};
    Picture unusedPicture;
    Texture unusedTexture1;
    Texture unusedTexture2;
    SkyBox unusedSkyBox;
    Timer timer3;
    Music music{"demot.wav", 255};
    Picture creditsPicture;
    Picture salutePicture;
    Texture introLogo;
    SkyBox chessRoom;
    SkyBox chessCube;
    Model queenModel{"demoMesh\\queen.3ds"};
    Model kingModel{"demoMesh\\king_h.3ds"};
    Model pawnModel{"demoMesh\\pawn.3ds"};
    ParticleSystem smokeParticles;
    Picture queenPicture;
    Picture kingPicture;
    Picture peasantsPicture;
    Picture logoPicture;
    Texture chessTga;
    SkyBox shipSky;
    Model shipModel{"demoMesh\\ship_adv.3ds"};
    Picture shipTitlePicture;
    Picture applausePicture;
    Picture leetPicture;
    ParticleSystem unusedParticles1;
    ParticleSystem unusedParticles2;
    TileFont font40{40, 40};
    Model speakerModel{"demoMesh\\spheaker.3ds"};
    Model luvshakModel{"demoMesh\\luvshak.3ds"};
    Model alienShipModel{"demoMesh\\ship_adv.3ds"};
    Picture toon1Picture;
    Picture toon2Picture;
    Picture toon3Picture;
    Picture boomPicture;
};

ShowObjects* objects = nullptr;

// The one metaball field: built and configured at start-up, never drawn.
MetaballField* metaballs = nullptr;

void castScenes(ShowObjects& o) {
    setCreditsCast(CreditsCast{o.music, o.creditsPicture, o.salutePicture});
    setChessCast(ChessCast{o.music, o.chessRoom, o.chessCube, o.queenModel, o.kingModel, o.pawnModel, o.smokeParticles,
                           o.queenPicture, o.kingPicture, o.peasantsPicture, o.logoPicture, o.chessTga, o.light0,
                           o.light1});
    setShipCast(
        ShipCast{o.music, o.shipSky, o.shipModel, o.shipTitlePicture, o.applausePicture, o.leetPicture, o.light0});
    setAlienCast(AlienCast{o.music, o.speakerModel, o.luvshakModel, o.alienShipModel, o.toon1Picture, o.toon2Picture,
                           o.toon3Picture, o.boomPicture});
    setIntroCast(IntroCast{o.music, o.font14, o.introLogo, chessRun});
}

// The start-up steps that need the window. Light positions are taken under
// the identity: no reshape has run yet.
void setUpShow() {
    ShowObjects& o = *objects;
    castScenes(o);
    o.font14.buildGlyphLists();

    setUpShowLights(o.light0, o.light1);

    resetRenderState();
    o.timer2.start();
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

    o.timer3.start();
    o.music.setSyncCallback();
    creditsInit();
    chessInit();
    shipInit();
    alienInit();
    introInit();
    // Last, so that no cue passes before the scenes are ready for it.
    o.music.play();
}

}  // namespace

const ShowLoop& buildShowObjects() {
    // A static of this function: built on the first call, before any window,
    // and destroyed by the C library exit like any global.
    static ShowObjects built;
    objects = &built;
    static const ShowLoop loop{setUpShow, SceneRunners{chessRun, shipRun, alienRun, creditsRun},
                               FrameClocks{built.timer1, built.timer2, built.timer3, built.frameLimiter}, built.music};
    return loop;
}
