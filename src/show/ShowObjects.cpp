#include "show/ShowObjects.h"

#include "render/RenderState.h"
#include "show/StateRegistry.h"

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

ShowObjects::ShowObjects(StateRegistry& registry, std::uint32_t& lastRelease, SkyBoxScroll& skyScroll)
    : registry(registry),
      skyScroll(skyScroll),
      theDefaultMaterial(defaultMaterial()),
      frameLimiter(kShowFrameRate, lastRelease),
      credits(registry, CreditsCast{music, creditsPicture, salutePicture}),
      chess(registry, ChessCast{music, chessRoom, chessCube, queenModel, kingModel, pawnModel, smokeParticles,
                                queenPicture, kingPicture, peasantsPicture, logoPicture, chessTga, light0, light1}),
      ship(registry, ShipCast{music, shipSky, shipModel, shipTitlePicture, applausePicture, leetPicture, light0}),
      alien(registry, AlienCast{music, speakerModel, luvshakModel, alienShipModel, toon1Picture, toon2Picture,
                                toon3Picture, boomPicture}),
      intro(IntroCast{music, font14, introLogo, [this] { return chess.chessRun(); }}) {}
