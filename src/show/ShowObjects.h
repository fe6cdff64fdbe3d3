// The show's objects, in the order they are constructed, before any window
// exists. The order is part of the show: it decides which light gets which
// number, the order of the lines printed at start-up and which missing file
// is reported first. They are destroyed in reverse order (each model writes
// its closing line), also when a missing file ends the process half-way down
// the list. Each object whose state moves on from frame to frame is
// registered for the show state as it is built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "effects/ParticleSystem.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "model/Model.h"
#include "music/Music.h"
#include "platform/DataFiles.h"
#include "render/Picture.h"
#include "render/Texture.h"
#include "scenes/Alien.h"
#include "scenes/Chess.h"
#include "scenes/Credits.h"
#include "scenes/Intro.h"
#include "scenes/Ship.h"
#include "show/FrameLimiter.h"
#include "show/Timer.h"
#include "text/TileFont.h"

#include "render/Material.h"
#include "show/StateRegistry.h"

// An object of the show whose state moves on from frame to frame, registered
// for the show state as it is built.
template <class Kind>
struct Held : Kind {
    template <class... Arguments>
    explicit Held(StateRegistry& registry, Arguments&&... arguments) : Kind(std::forward<Arguments>(arguments)...) {
        registry.hold(static_cast<Kind&>(*this));
    }
};

struct ShowObjects {
    // `lastRelease` and `skyScroll` are the show's own, shared by its
    // limiters and its sky boxes.
    ShowObjects(StateRegistry& registry, std::uint32_t& lastRelease, SkyBoxScroll& skyScroll);
    ShowObjects(const ShowObjects&) = delete;
    ShowObjects& operator=(const ShowObjects&) = delete;

    StateRegistry& registry;
    SkyBoxScroll& skyScroll;

    Material& theDefaultMaterial;  // applied by every reset
    Held<Timer> timer1{registry};
    Held<Timer> timer2{registry};
    Held<Light> light0{registry};
    Held<Light> light1{registry, 1, 1, 1, 1, 1, 1, -4};
    FrameLimiter frameLimiter;
    TileFont font14{14, 14};
    Held<Picture> unusedPicture{registry};
    Texture unusedTexture1;
    Texture unusedTexture2;
    Held<SkyBox> unusedSkyBox{registry, skyScroll};
    Held<Timer> timer3{registry};
    Music music{platform::files::kMusic.name, 255};
    Held<Picture> creditsPicture{registry};
    Held<Picture> salutePicture{registry};
    Texture introLogo;
    Held<SkyBox> chessRoom{registry, skyScroll};
    Held<SkyBox> chessCube{registry, skyScroll};
    Model queenModel{platform::files::kQueenModel.name};
    Model kingModel{platform::files::kKingModel.name};
    Model pawnModel{platform::files::kPawnModel.name};
    Held<ParticleSystem> smokeParticles{registry};
    Held<Picture> queenPicture{registry};
    Held<Picture> kingPicture{registry};
    Held<Picture> peasantsPicture{registry};
    Held<Picture> logoPicture{registry};
    Texture chessTga;
    Held<SkyBox> shipSky{registry, skyScroll};
    Model shipModel{platform::files::kShipModel.name};
    Held<Picture> shipTitlePicture{registry};
    Held<Picture> applausePicture{registry};
    Held<Picture> leetPicture{registry};
    Held<ParticleSystem> unusedParticles1{registry};
    Held<ParticleSystem> unusedParticles2{registry};
    TileFont font40{40, 40};
    Model speakerModel{platform::files::kSpeakerModel.name};
    Model luvshakModel{platform::files::kWalkerModel.name};
    Model alienShipModel{platform::files::kShipModel.name};
    Held<Picture> toon1Picture{registry};
    Held<Picture> toon2Picture{registry};
    Held<Picture> toon3Picture{registry};
    Held<Picture> boomPicture{registry};
    // The scenes hold nothing but references to the objects above, and
    // their own state.
    Held<CreditsScene> credits;
    Held<ChessScene> chess;
    Held<ShipScene> ship;
    Held<AlienScene> alien;
    IntroScene intro;
};

// The JPG files that start-up loads, in the order it loads them, each as
// often as it is loaded: decoded ahead on spare cores while the objects are
// built and the window opens.
const std::vector<std::string>& startUpPictures();
