// The drum machine of the track: analogue-style drums made of sine sweeps,
// filtered noise and detuned squares. Each call plays one hit into a track;
// `at` is its first frame, gain about 0..1.
#pragma once

#include <cstddef>

#include "pack/Random.h"
#include "pack/music/DspBlocks.h"

namespace synth {

void kick(Track& out, std::size_t at, float gain);
void snare(Track& out, std::size_t at, float gain, Random& random);
void clap(Track& out, std::size_t at, float gain, Random& random);
void hat(Track& out, std::size_t at, float gain, bool open, float pan, Random& random);
void crash(Track& out, std::size_t at, float gain, Random& random);
// A noise sweep that rises into `at + length`.
void riser(Track& out, std::size_t at, std::size_t length, float gain, Random& random);

}  // namespace synth
