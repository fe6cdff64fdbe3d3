#include "show/ShowState.h"

#include "effects/ParticleSystem.h"
#include "music/Music.h"
#include "music/SyncTag.h"
#include "show/FrameLimiter.h"
#include "show/Sequencer.h"

ShowState saveShowState(const ShowParts& parts) {
    ShowState s;
    s.sceneState = sceneState;
    s.chess = parts.chess.getState();
    s.ship = parts.ship.getState();
    s.alien = parts.alien.getState();
    s.credits = parts.credits.getState();
    for (const Picture* picture : parts.pictures) s.pictures.push_back(picture->getFadeState());
    for (const ParticleSystem* system : parts.particleSystems) s.particles.push_back(system->getParticles());
    s.skyScroll = skyBoxScroll();
    for (const Timer* timer : parts.timers) s.timers.push_back(*timer);
    for (const Light* light : parts.lights) s.lights.push_back(light->getValues());
    s.limiterRelease = lastRelease;
    s.random = randomPosition();
    s.music = audio::streamPosition(parts.music.getStream());
    s.pendingCue = showSyncTag().waiting();
    s.gl = GlState::save();
    return s;
}

void restoreShowState(const ShowParts& parts, const ShowState& s) {
    sceneState = s.sceneState;
    parts.chess.setState(s.chess);
    parts.ship.setState(s.ship);
    parts.alien.setState(s.alien);
    parts.credits.setState(s.credits);
    for (std::size_t i = 0; i < parts.pictures.size(); ++i) parts.pictures[i]->setFadeState(s.pictures[i]);
    for (std::size_t i = 0; i < parts.particleSystems.size(); ++i)
        parts.particleSystems[i]->setParticles(s.particles[i]);
    setSkyBoxScroll(s.skyScroll);
    for (std::size_t i = 0; i < parts.timers.size(); ++i) *parts.timers[i] = s.timers[i];
    for (std::size_t i = 0; i < parts.lights.size(); ++i) parts.lights[i]->setValues(s.lights[i]);
    lastRelease = s.limiterRelease;
    if (s.random.seed != randomPosition().seed || s.random.drawn < randomPosition().drawn) {
        setRandomPosition(s.random);
    } else {
        // Forward from where the generator stands: only the difference is drawn.
        for (std::uint64_t i = randomPosition().drawn; i < s.random.drawn; ++i) showRandom();
    }
    audio::setStreamPosition(parts.music.getStream(), s.music);
    showSyncTag().setWaiting(s.pendingCue);
    s.gl.restore();
}

std::size_t ShowState::bytes() const {
    std::size_t total = sizeof *this + pictures.size() * sizeof(Picture::FadeState) + timers.size() * sizeof(Timer) +
                        lights.size() * sizeof(Light::Values) + pendingCue.capacity();
    for (const std::vector<Particle>& system : particles) total += system.size() * sizeof(Particle);
    return total;
}
