// The one list of what a show state is made of. Everything whose state moves
// on from frame to frame is registered here when the show builds it: each
// picture, particle system, sky box, timer, light and scene as an object of
// its kind, and the show's own parts (the sequence, the limiter, the random
// generator, the music, the OpenGL state) by name. Saving asks each in turn
// for its state; restoring puts each back, in the order they registered.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <typeindex>
#include <vector>

class Picture;
class ParticleSystem;
class SkyBox;
class Timer;
class Light;
class ChessScene;
class ShipScene;
class AlienScene;
class CreditsScene;

// One holder's state, taken as a value: putting it back, and what it takes
// in memory.
struct HeldState {
    std::function<void()> restore;
    std::size_t bytes = 0;
};

// A whole show state: every holder's, in the registry's order.
struct ShowState {
    std::vector<HeldState> held;
    std::size_t bytes() const;
};

class StateRegistry {
public:
    void hold(Picture& picture);
    void hold(ParticleSystem& system);
    void hold(SkyBox& box);
    void hold(Timer& timer);
    void hold(Light& light);
    void hold(ChessScene& scene);
    void hold(ShipScene& scene);
    void hold(AlienScene& scene);
    void hold(CreditsScene& scene);
    // A part of the show that is not an object of one of the kinds above.
    void hold(const std::string& name, std::function<HeldState()> save);

    ShowState save() const;
    // `state` was saved from this registry.
    static void restore(const ShowState& state);

    // How many objects of a kind are registered, and which part names.
    template <class Kind>
    int count() const {
        return countOf(typeid(Kind));
    }
    std::vector<std::string> names() const;

private:
    struct Entry {
        std::type_index kind;
        std::string name;  // for the show's own parts
        std::function<HeldState()> save;
    };
    template <class Kind>
    void holdObject(Kind& object);
    int countOf(std::type_index kind) const;

    std::vector<Entry> entries;
};
