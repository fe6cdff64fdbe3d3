// The arithmetic between show frames, music samples and video frames, over
// every combination a capture can meet, checked against its definitions
// rather than against worked examples.
#include <gtest/gtest.h>

#include <cmath>

#include "show/FrameTiming.h"

namespace {

// Whole rates and the fractional ones of broadcast video, slower and faster
// than the show's own 83 1/3 frames a second, and the bounds.
const FrameRate kRates[] = {{1},  {24000, 1001}, {24}, {25},  {30000, 1001}, {30},  {50},  {60000, 1001},
                            {60}, {83},          {84}, {120}, {144},         {240}, {250}, {1000}};

}  // namespace

TEST(FrameTiming, FramesSamplesAndVideoFramesAgreeWithTheirDefinitions) {
    for (const std::uint64_t rate : {8000u, 22050u, 44100u, 48000u}) {
        for (const FrameRate& fps : kRates) {
            const FrameTiming timing{12, fps, rate};
            const std::string what = fps.text() + " fps, " + std::to_string(rate) + " Hz";
            std::uint64_t shown = 0;
            for (std::uint64_t frame = 0; frame < 3000; ++frame) {
                // The frame whose span holds a sample is the one that passes it.
                for (const std::uint64_t sample : {timing.sampleAt(frame), timing.sampleAt(frame + 1) - 1}) {
                    ASSERT_EQ(timing.frameContaining(sample), frame) << what << ", sample " << sample;
                }
                // Video frame j, at j * seconds / frames, shows the last show
                // frame drawn at or before then.
                const std::uint64_t count = timing.videoFramesShowing(frame);
                for (std::uint64_t j = shown; j < shown + count; ++j) {
                    ASSERT_EQ(j * 1000 * fps.seconds / (12 * fps.frames), frame) << what << ", video frame " << j;
                    ASSERT_EQ(timing.frameShownBy(j), frame) << what << ", video frame " << j;
                }
                shown += count;
                ASSERT_EQ(shown, timing.videoFramesThrough(frame + 1)) << what;
            }
            // Over the whole run the video lasts as long as the frames drawn,
            // to within one video frame, and the sound exactly as long.
            const double frameSeconds = 1.0 / fps.perSecond();
            EXPECT_NEAR(static_cast<double>(shown) * frameSeconds, 3000 * 0.012, frameSeconds) << what;
            EXPECT_GE(static_cast<double>(shown) * frameSeconds, 3000 * 0.012 - 1e-9) << what;
            EXPECT_EQ(timing.sampleAt(3000), static_cast<std::uint64_t>(std::llround(3000 * 0.012 * rate))) << what;
        }
    }
}

TEST(FrameRate, ReadsWholeAndFractionalRatesInLowestTerms) {
    const struct {
        const char* text;
        bool accepted;
        FrameRate rate;
    } cases[] = {
        {"60", true, {60}},
        {"60000/1001", true, {60000, 1001}},
        {"120000/2002", true, {60000, 1001}},  // reduced
        {"50/2", true, {25}},
        {"1", true, {1}},
        {"1000", true, {1000}},
        {"1000000/1000", true, {1000}},
        {"1/1", true, {1}},
        {"0", false, {}},
        {"0/1", false, {}},
        {"1/0", false, {}},
        {"1/2", false, {}},  // slower than one a second
        {"1001", false, {}},
        {"1000001/1000", false, {}},
        {"2000000/2000", false, {}},  // a term over the largest
        {"59.94", false, {}},
        {"60/", false, {}},
        {"/1001", false, {}},
        {"60/1001/2", false, {}},
        {"+60", false, {}},
        {"-60", false, {}},
        {" 60", false, {}},
        {"", false, {}},
        {"99999999999999999999999", false, {}},
    };
    for (const auto& c : cases) {
        const std::optional<FrameRate> parsed = FrameRate::parse(c.text);
        ASSERT_EQ(parsed.has_value(), c.accepted) << c.text;
        if (!parsed) continue;
        EXPECT_EQ(parsed->frames, c.rate.frames) << c.text;
        EXPECT_EQ(parsed->seconds, c.rate.seconds) << c.text;
        // What text() writes reads back as the same rate.
        EXPECT_EQ(FrameRate::parse(parsed->text()), parsed) << c.text;
    }
}
