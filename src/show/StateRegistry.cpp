#include "show/StateRegistry.h"

#include "effects/ParticleSystem.h"
#include "effects/SkyBox.h"
#include "model/Light.h"
#include "render/Picture.h"
#include "scenes/Alien.h"
#include "scenes/Chess.h"
#include "scenes/Credits.h"
#include "scenes/Ship.h"
#include "show/Timer.h"

namespace {

// What each kind of holder keeps from frame to frame, and how it is put back.
HeldState stateOf(Picture& picture) {
    const Picture::FadeState fade = picture.getFadeState();
    return {[&picture, fade] { picture.setFadeState(fade); }, sizeof fade};
}

HeldState stateOf(ParticleSystem& system) {
    std::vector<Particle> particles = system.getParticles();
    const std::size_t bytes = particles.size() * sizeof(Particle);
    return {[&system, particles = std::move(particles)] { system.setParticles(particles); }, bytes};
}

HeldState stateOf(SkyBox& box) {
    const bool compiled = box.isCompiled();
    return {[&box, compiled] { box.setCompiled(compiled); }, sizeof compiled};
}

HeldState stateOf(Timer& timer) {
    const Timer::State state = timer.getState();
    return {[&timer, state] { timer.setState(state); }, sizeof state};
}

HeldState stateOf(Light& light) {
    const Light::Values values = light.getValues();
    return {[&light, values] { light.setValues(values); }, sizeof values};
}

// A scene is its cast and its State and nothing else: a member added beside
// them would move on from frame to frame without being saved.
template <class Cast, class State>
struct CastAndState {
    Cast cast;
    State state;
};
static_assert(sizeof(ChessScene) == sizeof(CastAndState<ChessCast, ChessState>));
static_assert(sizeof(ShipScene) == sizeof(CastAndState<ShipCast, ShipState>));
static_assert(sizeof(AlienScene) == sizeof(CastAndState<AlienCast, AlienState>));
static_assert(sizeof(CreditsScene) == sizeof(CastAndState<CreditsCast, CreditsState>));

template <class Scene>
auto stateOf(Scene& scene) -> decltype(scene.getState(), HeldState()) {
    const auto state = scene.getState();
    return {[&scene, state] { scene.setState(state); }, sizeof state};
}

}  // namespace

std::size_t ShowState::bytes() const {
    std::size_t total = sizeof *this + held.size() * sizeof(HeldState);
    for (const HeldState& part : held) total += part.bytes;
    return total;
}

template <class Kind>
void StateRegistry::holdObject(Kind& object) {
    entries.push_back({typeid(Kind), "", [&object] { return stateOf(object); }});
}

void StateRegistry::hold(Picture& picture) { holdObject(picture); }
void StateRegistry::hold(ParticleSystem& system) { holdObject(system); }
void StateRegistry::hold(SkyBox& box) { holdObject(box); }
void StateRegistry::hold(Timer& timer) { holdObject(timer); }
void StateRegistry::hold(Light& light) { holdObject(light); }
void StateRegistry::hold(ChessScene& scene) { holdObject(scene); }
void StateRegistry::hold(ShipScene& scene) { holdObject(scene); }
void StateRegistry::hold(AlienScene& scene) { holdObject(scene); }
void StateRegistry::hold(CreditsScene& scene) { holdObject(scene); }

void StateRegistry::hold(const std::string& name, std::function<HeldState()> save) {
    entries.push_back({typeid(void), name, std::move(save)});
}

ShowState StateRegistry::save() const {
    ShowState state;
    state.held.reserve(entries.size());
    for (const Entry& entry : entries) state.held.push_back(entry.save());
    return state;
}

void StateRegistry::restore(const ShowState& state) {
    for (const HeldState& part : state.held) part.restore();
}

int StateRegistry::countOf(std::type_index kind) const {
    int count = 0;
    for (const Entry& entry : entries) count += entry.kind == kind ? 1 : 0;
    return count;
}

std::vector<std::string> StateRegistry::names() const {
    std::vector<std::string> found;
    for (const Entry& entry : entries) {
        if (!entry.name.empty()) found.push_back(entry.name);
    }
    return found;
}
