#include "pack/music/DspBlocks.h"

namespace synth {

Pan::Pan(float position)
    : left(std::cos((position + 1.0f) * kPi / 4.0f)), right(std::sin((position + 1.0f) * kPi / 4.0f)) {}

float noteHz(float midiNote) { return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f); }

}  // namespace synth
