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

// The highest level the file reaches, between its samples too (a true peak):
// -1.3 dBFS, under the -1 dBFS that players' converters and lossy encoders
// need to stay clean, with room for meters that interpolate a little
// differently.
constexpr float kPeakCeiling = 0.861f;
// How far the track's loudest moment is pushed into the limiter (+2.3 dB):
// what sets the track's loudness once its peak is fixed.
constexpr float kMasterDrive = 1.3f;

// Sums the tracks, warms the sum a little, drives it into a limiter and scales
// it so its true peak stays under kPeakCeiling, so the file never clips; the
// last half second fades, so the loop back to the start does not click.
// Interleaved stereo.
std::vector<std::int16_t> mixDown(const std::vector<const Track*>& tracks);

}  // namespace synth
