#include "music/MusicGenerator.h"

#include <algorithm>
#include <cmath>

#include "PackContext.h"
#include "music/Arrangement.h"
#include "music/CueWavWriter.h"

namespace {

// Sums the three groups with their effects, warms the sum a little and
// scales it to a fixed peak under full scale, so the track never clips.
std::vector<std::int16_t> master(score::Mix& mix) {
    synth::echo(mix.echoes, score::kBeatFrames * 3 / 4, score::kBeatFrames / 2, 0.38f, 0.45f);
    synth::reverb(mix.pads, 0.9f);
    const std::size_t frames = mix.dry.frames();
    std::vector<float> sum(2 * frames);
    float peak = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        const float left = mix.dry.left[i] + mix.echoes.left[i] + mix.pads.left[i];
        const float right = mix.dry.right[i] + mix.echoes.right[i] + mix.pads.right[i];
        sum[2 * i] = std::tanh(0.9f * left);
        sum[2 * i + 1] = std::tanh(0.9f * right);
        peak = std::max({peak, std::abs(sum[2 * i]), std::abs(sum[2 * i + 1])});
    }
    // The last half second fades, so the loop back to the start does not click.
    const std::size_t fade = static_cast<std::size_t>(synth::kRate / 2);
    const float scale = peak > 0.0f ? 0.891f * 32767.0f / peak : 0.0f;  // peak at -1 dBFS
    std::vector<std::int16_t> samples(sum.size());
    for (std::size_t i = 0; i < frames; ++i) {
        const float tail = i + fade > frames ? static_cast<float>(frames - i) / static_cast<float>(fade) : 1.0f;
        for (std::size_t c = 0; c < 2; ++c) {
            samples[2 * i + c] = static_cast<std::int16_t>(std::lrint(sum[2 * i + c] * scale * tail));
        }
    }
    return samples;
}

}  // namespace

void writeMusic(const PackContext& pack) {
    const score::Plan plan = pack.shortTrack ? score::shortPlan() : score::fullPlan();
    score::Mix mix(plan.frames());
    synth::Random random(pack.seed);
    score::perform(plan, mix, random);
    const std::vector<std::int16_t> samples = master(mix);

    std::vector<NamedCue> cues;
    for (const score::PlacedCue& cue : plan.cues) cues.push_back({cue.name, cue.frame});
    writeCueWav(pack.file("demot.wav"), score::kSampleRate, 2, samples, cues);
}
