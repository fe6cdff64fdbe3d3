// What is done to whole tracks once every note is in: echo and reverb on the
// groups that go through them, then the mix-down of the groups into the
// 16-bit samples of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pack/music/DspBlocks.h"

namespace synth {

// Ping-pong echo, each repeat a little darker.
void echo(Track& track, std::size_t delayLeft, std::size_t delayRight, float feedback, float mix);
void reverb(Track& track, float mix);

// Sums the tracks, warms the sum a little and scales it to a fixed peak under
// full scale, so the file never clips; the last half second fades, so the
// loop back to the start does not click. Interleaved stereo.
std::vector<std::int16_t> mixDown(const std::vector<const Track*>& tracks);

}  // namespace synth
