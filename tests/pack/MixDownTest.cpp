// The generator's last step before the file: the groups of the track summed
// into 16-bit samples under a fixed true peak, fading out into the loop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "pack/music/TrackEffects.h"

namespace {

constexpr std::size_t kFrames = 2 * 44100;
const double kCeiling = 32767 * synth::kPeakCeiling;

int loudest(const std::vector<std::int16_t>& samples, std::size_t channel) {
    int peak = 0;
    for (std::size_t i = channel; i < samples.size(); i += 2) peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

}  // namespace

TEST(MixDown, EveryGroupReachesTheFileUnderOneTruePeakWhateverItsLevel) {
    // One group sounds in the left channel only, the other in the right. A
    // slow sine peaks on its samples; a tone at a quarter of the rate, sampled
    // half way between its crests, peaks 3 dB above its samples, where a
    // player's converter still reaches.
    struct Shape {
        const char* name;
        double radiansPerFrame;
        double phase;
        double samplesOfPeak;  // its loudest sample over its crest
    };
    for (const Shape& shape : {Shape{"on the samples", 0.05, 0.0, 1.0},
                               Shape{"between the samples", synth::kPi / 2, synth::kPi / 4, std::sqrt(0.5)}}) {
        for (const float level : {0.01f, 1.0f, 40.0f}) {
            SCOPED_TRACE(std::string(shape.name) + " at " + std::to_string(level));
            synth::Track leftOnly(kFrames), rightOnly(kFrames);
            for (std::size_t i = 0; i < kFrames; ++i) {
                leftOnly.left[i] = level * static_cast<float>(std::sin(shape.radiansPerFrame * i + shape.phase));
                rightOnly.right[i] = 0.5f * level * std::sin(0.03f * i);
            }
            const std::vector<std::int16_t> samples = synth::mixDown({&leftOnly, &rightOnly});
            ASSERT_EQ(samples.size(), 2 * kFrames);
            // Saturated into a near square, the slow sine overshoots between
            // its samples a little too, so its samples sit a little lower.
            EXPECT_LE(loudest(samples, 0), kCeiling * shape.samplesOfPeak + 40) << "nothing over the ceiling";
            EXPECT_GT(loudest(samples, 0), 0.9 * kCeiling * shape.samplesOfPeak)
                << "the loudest channel close under it";
            EXPECT_GT(loudest(samples, 1), 0.3 * kCeiling) << "the second group is mixed in";
            EXPECT_LE(loudest(samples, 1), kCeiling);
        }
    }
}

TEST(MixDown, TheLastHalfSecondFadesToSilence) {
    synth::Track track(kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) track.left[i] = track.right[i] = i % 2 == 0 ? 1.0f : -1.0f;
    const std::vector<std::int16_t> samples = synth::mixDown({&track});
    const auto at = [&](double secondsFromEnd) {
        return std::abs(int(samples[2 * (kFrames - 1 - static_cast<std::size_t>(secondsFromEnd * 44100))]));
    };
    EXPECT_NEAR(at(0.6), kCeiling, 40) << "full level before the fade";
    EXPECT_NEAR(at(0.25), kCeiling / 2, 200) << "half way down in the middle of it";
    EXPECT_LE(at(0.0), 2) << "and silent at the end, where the loop starts again";
}
