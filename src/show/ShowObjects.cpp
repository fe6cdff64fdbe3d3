// The show's objects, in the order they are constructed, before any window
// exists. The order is part of the show: it decides which light gets which
// number, the order of the lines printed at start-up and which missing file
// is reported first. At exit they are destroyed in reverse order (each model
// writes its closing line).
#include "show/ShowObjects.h"

#include <GL/gl.h>

#include <cstdlib>
#include <iostream>  // standard output is ready before the first object prints
#include <thread>

#include "effects/FaceCrossingTable.h"
#include "effects/MetaballField.h"
#include "effects/ParticleSystem.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "model/Model.h"
#include "music/Music.h"
#include "platform/ShowRandom.h"
#include "platform/Ticks.h"
#include "render/Material.h"
#include "render/Picture.h"
#include "render/PictureReadAhead.h"
#include "render/RenderState.h"
#include "render/Texture.h"
#include "scenes/Alien.h"
#include "scenes/Chess.h"
#include "scenes/Credits.h"
#include "scenes/Intro.h"
#include "scenes/Ship.h"
#include "show/FrameLimiter.h"
#include "show/ShowLights.h"
#include "show/ShowState.h"
#include "show/Timer.h"
#include "text/TileFont.h"

namespace {

// The one metaball field: built and configured at start-up, never drawn.
MetaballField* metaballs = nullptr;

// Until start-up has loaded every picture. Left standing if a missing file
// ends the process first: its threads may be inside a file then.
PictureReadAhead* readAhead = nullptr;

}  // namespace

const std::vector<std::string>& startUpPictures() {
    // One line per init function, in the order of its loads.
    // clang-format off
    static const std::vector<std::string> files = {
        "ting\\credits.jpg", "ting\\salute.jpg",
        "black.jpg", "black.jpg", "chess.jpg", "black.jpg", "black.jpg", "black.jpg", "chess.jpg", "chess.jpg",
            "chess.jpg", "chess.jpg", "chess.jpg", "chess.jpg", "smoke.jpg", "ting\\queen.jpg", "ting\\king.jpg",
            "ting\\kingThing.jpg", "ting\\peasants.jpg", "ting\\blod.jpg", "ting\\quillory.jpg",
        "env1.jpg", "env1.jpg", "env1.jpg", "env1.jpg", "sky.jpg", "grass.jpg", "env1.jpg", "ting\\gsg.jpg",
            "ting\\applause.jpg", "ting\\1337.jpg",
        "env1.jpg", "env1.jpg", "ting\\toon1.jpg", "ting\\toon2.jpg", "ting\\toon3.jpg", "ting\\boom.jpg",
    };
    // clang-format on
    return files;
}

const ShowLoop& buildShowObjects() {
    // The pictures decode on the other cores from here on, while the objects
    // below are built and the window opens; the loads in the init functions
    // then mostly upload them. One core is left to this thread, whose work
    // is what the first frame waits for.
    static const bool readingAhead = [] {
        const unsigned cores = std::thread::hardware_concurrency();
        readAhead = new PictureReadAhead(startUpPictures(), cores > 2 ? cores - 1 : 1);
        setPictureReadAhead(readAhead);
        return true;
    }();
    (void)readingAhead;

    // Statics of this function, each built in turn on the first call and
    // destroyed by the C library exit in reverse order, like globals: also
    // when a missing file ends the process half-way down the list.
    [[maybe_unused]] static Material& theDefaultMaterial = defaultMaterial();  // applied by every reset
    static Timer timer1;
    static Timer timer2;
    static Light light0;
    static Light light1{1, 1, 1, 1, 1, 1, -4};
    static FrameLimiter frameLimiter{kShowFrameRate};
    static TileFont font14{14, 14};
    static Picture unusedPicture;
    static Texture unusedTexture1;
    static Texture unusedTexture2;
    static SkyBox unusedSkyBox;
    static Timer timer3;
    static Music music{"demot.wav", 255};
    static Picture creditsPicture;
    static Picture salutePicture;
    static Texture introLogo;
    static SkyBox chessRoom;
    static SkyBox chessCube;
    static Model queenModel{"demoMesh\\queen.3ds"};
    static Model kingModel{"demoMesh\\king_h.3ds"};
    static Model pawnModel{"demoMesh\\pawn.3ds"};
    static ParticleSystem smokeParticles;
    static Picture queenPicture;
    static Picture kingPicture;
    static Picture peasantsPicture;
    static Picture logoPicture;
    static Texture chessTga;
    static SkyBox shipSky;
    static Model shipModel{"demoMesh\\ship_adv.3ds"};
    static Picture shipTitlePicture;
    static Picture applausePicture;
    static Picture leetPicture;
    static ParticleSystem unusedParticles1;
    static ParticleSystem unusedParticles2;
    static TileFont font40{40, 40};
    static Model speakerModel{"demoMesh\\spheaker.3ds"};
    static Model luvshakModel{"demoMesh\\luvshak.3ds"};
    static Model alienShipModel{"demoMesh\\ship_adv.3ds"};
    static Picture toon1Picture;
    static Picture toon2Picture;
    static Picture toon3Picture;
    static Picture boomPicture;
    // The scenes hold nothing but references to the objects above, and
    // their own state.
    static CreditsScene credits{CreditsCast{music, creditsPicture, salutePicture}};
    static ChessScene chess{ChessCast{music, chessRoom, chessCube, queenModel, kingModel, pawnModel, smokeParticles,
                                      queenPicture, kingPicture, peasantsPicture, logoPicture, chessTga, light0,
                                      light1}};
    static ShipScene ship{ShipCast{music, shipSky, shipModel, shipTitlePicture, applausePicture, leetPicture, light0}};
    static AlienScene alien{AlienCast{music, speakerModel, luvshakModel, alienShipModel, toon1Picture, toon2Picture,
                                      toon3Picture, boomPicture}};
    static IntroScene intro{IntroCast{music, font14, introLogo, [] { return chess.chessRun(); }}};

    // The start-up steps that need the window. Light positions are taken
    // under the identity: no reshape has run yet.
    static const auto setUpShow = [] {
        font14.buildGlyphLists();

        setUpShowLights(light0, light1);

        resetRenderState();
        timer2.start();
        seedShowRandom(platform::tickCount());

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

        timer3.start();
        music.setSyncCallback();
        credits.creditsInit();
        chess.chessInit();
        ship.shipInit();
        alien.alienInit();
        intro.introInit();
        setPictureReadAhead(nullptr);
        delete readAhead;
        readAhead = nullptr;
        // Last, so that no cue passes before the scenes are ready for it.
        music.play();
    };
    static const ShowParts parts{
        chess,
        ship,
        alien,
        credits,
        {&unusedPicture, &creditsPicture, &salutePicture, &queenPicture, &kingPicture, &peasantsPicture, &logoPicture,
         &shipTitlePicture, &applausePicture, &leetPicture, &toon1Picture, &toon2Picture, &toon3Picture, &boomPicture},
        {&smokeParticles, &unusedParticles1, &unusedParticles2},
        {&timer1, &timer2, &timer3},
        {&light0, &light1},
        music};
    static const ShowLoop loop{setUpShow,
                               SceneRunners{[] { return chess.chessRun(); }, [] { return ship.shipRun(); },
                                            [] { return alien.alienRun(); }, [] { credits.creditsRun(); }},
                               FrameClocks{timer1, timer2, timer3, frameLimiter}, music, parts};
    return loop;
}
