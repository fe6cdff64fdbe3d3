#include "pack/music/TrackEffects.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace synth {
namespace {

class Comb {
public:
    explicit Comb(std::size_t size) : line(size, 0.0f) {}
    float run(float in, float feedback, float damp) {
        const float out = line[at];
        store = out * (1.0f - damp) + store * damp;
        line[at] = in + store * feedback;
        if (++at == line.size()) at = 0;
        return out;
    }

private:
    std::vector<float> line;
    std::size_t at = 0;
    float store = 0.0f;
};

class Allpass {
public:
    explicit Allpass(std::size_t size) : line(size, 0.0f) {}
    float run(float in) {
        const float delayed = line[at];
        line[at] = in + delayed * 0.5f;
        if (++at == line.size()) at = 0;
        return delayed - in;
    }

private:
    std::vector<float> line;
    std::size_t at = 0;
};

}  // namespace

void echo(Track& track, std::size_t delayLeft, std::size_t delayRight, float feedback, float mix) {
    std::vector<float> lineLeft(delayLeft, 0.0f), lineRight(delayRight, 0.0f);
    Filter toneLeft, toneRight;  // each repeat a little darker
    toneLeft.tune(3000.0f, 0.7f);
    toneRight.tune(3000.0f, 0.7f);
    for (std::size_t i = 0; i < track.frames(); ++i) {
        float& outLeft = lineLeft[i % delayLeft];
        float& outRight = lineRight[i % delayRight];
        const float heardLeft = outLeft, heardRight = outRight;
        toneLeft.run(heardRight);
        toneRight.run(heardLeft);
        // Ping-pong: each side feeds the other.
        outLeft = 0.5f * (track.left[i] + track.right[i]) + feedback * toneLeft.low;
        outRight = feedback * toneRight.low;
        track.left[i] += mix * heardLeft;
        track.right[i] += mix * heardRight;
    }
}

void reverb(Track& track, float mix) {
    // A Schroeder-Moorer room: parallel damped combs into series all-passes,
    // tuned a little apart per side for width.
    static constexpr std::array<std::size_t, 8> kCombs = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static constexpr std::array<std::size_t, 4> kAllpasses = {556, 441, 341, 225};
    constexpr std::size_t kSpread = 23;
    std::vector<Comb> combsLeft, combsRight;
    std::vector<Allpass> passesLeft, passesRight;
    for (std::size_t size : kCombs) {
        combsLeft.emplace_back(size);
        combsRight.emplace_back(size + kSpread);
    }
    for (std::size_t size : kAllpasses) {
        passesLeft.emplace_back(size);
        passesRight.emplace_back(size + kSpread);
    }
    for (std::size_t i = 0; i < track.frames(); ++i) {
        const float in = 0.015f * (track.left[i] + track.right[i]);
        float left = 0.0f, right = 0.0f;
        for (std::size_t c = 0; c < kCombs.size(); ++c) {
            left += combsLeft[c].run(in, 0.84f, 0.25f);
            right += combsRight[c].run(in, 0.84f, 0.25f);
        }
        for (std::size_t a = 0; a < kAllpasses.size(); ++a) {
            left = passesLeft[a].run(left);
            right = passesRight[a].run(right);
        }
        track.left[i] += mix * left;
        track.right[i] += mix * right;
    }
}

namespace {

// Brings every peak of the interleaved stereo `samples` down to `ceiling`: the
// gain falls in a straight line over the look-ahead before a peak, so it never
// steps, and recovers slowly after it, so the kicks lose their tips and not
// their body.
void limit(std::vector<float>& samples, float ceiling) {
    const std::size_t frames = samples.size() / 2;
    const std::size_t lookAhead = framesOf(0.0015f);
    const float recover = 1.0f - std::exp(-1.0f / (0.08f * kRate));
    std::vector<float> gain(frames, 1.0f);
    for (std::size_t i = 0; i < frames; ++i) {
        const float level = std::max(std::abs(samples[2 * i]), std::abs(samples[2 * i + 1]));
        if (level <= ceiling) continue;
        const float needed = ceiling / level;
        for (std::size_t back = 0; back <= lookAhead && back <= i; ++back) {
            const float ramp = needed + (1.0f - needed) * static_cast<float>(back) / static_cast<float>(lookAhead);
            gain[i - back] = std::min(gain[i - back], ramp);
        }
    }
    float held = 1.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        held = std::min(gain[i], held + (1.0f - held) * recover);
        samples[2 * i] *= held;
        samples[2 * i + 1] *= held;
    }
}

// The highest level the waveform reaches between its samples as well as on
// them (four times oversampled, with a windowed sinc): what a player's
// converter will make of the file. Only the neighbourhood of loud samples can
// exceed `floor`, so only there is it worked out.
float truePeak(const std::vector<float>& samples, float floor) {
    constexpr int kTaps = 16;  // each side
    constexpr int kPhases = 4;
    std::array<std::array<float, 2 * kTaps>, kPhases> kernel{};
    for (int phase = 1; phase < kPhases; ++phase) {
        const float offset = static_cast<float>(phase) / kPhases;
        for (int tap = 0; tap < 2 * kTaps; ++tap) {
            const float x = static_cast<float>(tap - kTaps + 1) - offset;
            const float window = 0.5f + 0.5f * std::cos(kPi * x / static_cast<float>(kTaps));
            kernel[static_cast<std::size_t>(phase)][static_cast<std::size_t>(tap)] =
                window * std::sin(kPi * x) / (kPi * x);
        }
    }
    const std::size_t frames = samples.size() / 2;
    float peak = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::size_t c = 0; c < 2; ++c) {
            const float here = std::abs(samples[2 * i + c]);
            peak = std::max(peak, here);
            if (i + kTaps >= frames || i < kTaps - 1) continue;
            if (std::max(here, std::abs(samples[2 * (i + 1) + c])) < floor) continue;
            for (std::size_t phase = 1; phase < kPhases; ++phase) {
                float between = 0.0f;
                for (std::size_t tap = 0; tap < 2 * kTaps; ++tap) {
                    between += kernel[phase][tap] * samples[2 * (i + tap + 1 - kTaps) + c];
                }
                peak = std::max(peak, std::abs(between));
            }
        }
    }
    return peak;
}

}  // namespace

std::vector<std::int16_t> mixDown(const std::vector<const Track*>& tracks) {
    const std::size_t frames = tracks.empty() ? 0 : tracks.front()->frames();
    std::vector<float> sum(2 * frames);
    float peak = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        float left = 0.0f, right = 0.0f;
        for (const Track* track : tracks) {
            left += track->left[i];
            right += track->right[i];
        }
        sum[2 * i] = std::tanh(0.9f * left);
        sum[2 * i + 1] = std::tanh(0.9f * right);
        peak = std::max({peak, std::abs(sum[2 * i]), std::abs(sum[2 * i + 1])});
    }
    if (peak == 0.0f) return std::vector<std::int16_t>(sum.size(), 0);
    // The loudest moments are pushed into the limiter, so the climax can be
    // louder than the rest without the file's peak rising.
    for (float& sample : sum) sample *= kMasterDrive / peak;
    limit(sum, kPeakCeiling);
    const float overs = truePeak(sum, 0.5f * kPeakCeiling);
    const float trim = overs > kPeakCeiling ? kPeakCeiling / overs : 1.0f;

    const std::size_t fade = framesOf(0.5f);
    std::vector<std::int16_t> samples(sum.size());
    for (std::size_t i = 0; i < frames; ++i) {
        const float tail = i + fade > frames ? static_cast<float>(frames - i) / static_cast<float>(fade) : 1.0f;
        for (std::size_t c = 0; c < 2; ++c) {
            samples[2 * i + c] = static_cast<std::int16_t>(std::lrint(sum[2 * i + c] * trim * tail * 32767.0f));
        }
    }
    return samples;
}

}  // namespace synth
