// Everything that makes frame n of the show what it is, taken as a value
// between two frames and put back: the sequencer, each scene's state, the
// pictures' fades, the particles, the sky boxes' creeping textures, the
// timers, the limiter, the lights, the random generator's position, the
// music's position and its pending cue, and the OpenGL state the routines
// leave behind. The show clock's own count is the caller's (the timeline).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/AudioStream.h"
#include "effects/Particle.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "platform/ShowRandom.h"
#include "render/GlState.h"
#include "render/Picture.h"
#include "scenes/Alien.h"
#include "scenes/Chess.h"
#include "scenes/Credits.h"
#include "scenes/Ship.h"
#include "show/Timer.h"

class Music;
class ParticleSystem;

// The show's objects whose state changes as it plays.
struct ShowParts {
    ChessScene& chess;
    ShipScene& ship;
    AlienScene& alien;
    CreditsScene& credits;
    std::vector<Picture*> pictures;
    std::vector<ParticleSystem*> particleSystems;
    std::vector<Timer*> timers;
    std::vector<Light*> lights;
    Music& music;
};

struct ShowState {
    std::int32_t sceneState = 1;
    ChessState chess;
    ShipState ship;
    AlienState alien;
    CreditsState credits;
    std::vector<Picture::FadeState> pictures;
    std::vector<std::vector<Particle>> particles;
    SkyBoxScroll skyScroll{};
    std::vector<Timer> timers;
    std::vector<Light::Values> lights;
    std::uint32_t limiterRelease = 0;
    RandomPosition random;
    audio::StreamPosition music;
    std::string pendingCue;
    GlState gl;

    // Roughly what it takes in memory.
    std::size_t bytes() const;
};

// Needs the OpenGL context the show draws with.
ShowState saveShowState(const ShowParts& parts);
void restoreShowState(const ShowParts& parts, const ShowState& state);
