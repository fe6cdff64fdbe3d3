// Where the cues fall and what plays in each bar. The full track puts each
// cue on the beat nearest its time (section changes on the nearest bar); the
// short test track puts the same cues two beats apart. The performance then
// follows the sections bar by bar, so the music changes with the show.
#pragma once

#include <cstdint>
#include <vector>

#include "pack/Random.h"
#include "pack/music/DspBlocks.h"
#include "pack/music/Score.h"

namespace score {

struct PlacedCue {
    const char* name;
    std::uint32_t frame;
};

struct Plan {
    std::vector<PlacedCue> cues;
    std::vector<Section> bars;  // the section each bar belongs to
    std::uint32_t frames() const { return static_cast<std::uint32_t>(bars.size()) * kBarFrames; }
};

Plan fullPlan();
Plan shortPlan();

// The track before mixing: drums and bass dry, the lines that go through the
// echo, and the pads that go through the room.
struct Mix {
    explicit Mix(std::size_t frames) : dry(frames), echoes(frames), pads(frames), duck(frames, 1.0f) {}
    synth::Track dry;
    synth::Track echoes;
    synth::Track pads;
    synth::Duck duck;
};

void perform(const Plan& plan, Mix& mix, Random& random);

}  // namespace score
