// The generator's last step before the file: the groups of the track summed
// into 16-bit samples at a fixed peak, fading out into the loop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "pack/music/TrackEffects.h"

namespace {

constexpr std::size_t kFrames = 2 * 44100;
const double kMinusOneDb = 32767 * std::pow(10.0, -1.0 / 20.0);

int loudest(const std::vector<std::int16_t>& samples, std::size_t channel) {
    int peak = 0;
    for (std::size_t i = channel; i < samples.size(); i += 2) peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

}  // namespace

TEST(MixDown, EveryGroupReachesTheFileAtOnePeakWhateverItsLevel) {
    // One group sounds in the left channel only, the other in the right.
    for (const float level : {0.01f, 1.0f, 40.0f}) {
        SCOPED_TRACE(level);
        synth::Track leftOnly(kFrames), rightOnly(kFrames);
        for (std::size_t i = 0; i < kFrames; ++i) {
            leftOnly.left[i] = level * std::sin(0.05f * i);
            rightOnly.right[i] = 0.5f * level * std::sin(0.03f * i);
        }
        const std::vector<std::int16_t> samples = synth::mixDown({&leftOnly, &rightOnly});
        ASSERT_EQ(samples.size(), 2 * kFrames);
        EXPECT_NEAR(loudest(samples, 0), kMinusOneDb, 40) << "the loudest channel peaks at -1 dBFS";
        EXPECT_GT(loudest(samples, 1), 0.3 * kMinusOneDb) << "the second group is mixed in";
        EXPECT_LE(loudest(samples, 1), loudest(samples, 0));
    }
}

TEST(MixDown, TheLastHalfSecondFadesToSilence) {
    synth::Track track(kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) track.left[i] = track.right[i] = i % 2 == 0 ? 1.0f : -1.0f;
    const std::vector<std::int16_t> samples = synth::mixDown({&track});
    const auto at = [&](double secondsFromEnd) {
        return std::abs(int(samples[2 * (kFrames - 1 - static_cast<std::size_t>(secondsFromEnd * 44100))]));
    };
    EXPECT_NEAR(at(0.6), kMinusOneDb, 40) << "full level before the fade";
    EXPECT_NEAR(at(0.25), kMinusOneDb / 2, 200) << "half way down in the middle of it";
    EXPECT_LE(at(0.0), 2) << "and silent at the end, where the loop starts again";
}
