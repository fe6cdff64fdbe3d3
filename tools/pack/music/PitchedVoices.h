// The track's pitched instruments, of the kind period demo tracks were made
// with: detuned saws and squares through resonant filters, and a little FM.
// Each call renders one note of `length` frames into a track (the release
// rings on after it); those under the pads and bass dip with `duck`.
#pragma once

#include <cstddef>
#include <vector>

#include "pack/music/DspBlocks.h"

namespace synth {

void bass(Track& out, const Duck& duck, std::size_t at, std::size_t length, float note, float gain);
// Saw through a resonant low-pass whose cutoff falls from `cutoff`: the 303 line.
void acid(Track& out, const Duck& duck, std::size_t at, std::size_t length, float note, float gain, float cutoff,
          bool accent);
void pad(Track& out, const Duck& duck, std::size_t at, std::size_t length, const std::vector<float>& notes, float gain,
         float brightness);
void pluck(Track& out, const Duck& duck, std::size_t at, float note, float gain, float brightness, float pan);
void lead(Track& out, std::size_t at, std::size_t length, float note, float gain);
void blip(Track& out, std::size_t at, float note, float gain, float pan);

}  // namespace synth
