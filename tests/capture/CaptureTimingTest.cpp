// The arithmetic between show frames, music samples and video frames, over
// every combination a capture can meet, checked against its definitions
// rather than against worked examples.
#include <gtest/gtest.h>

#include "capture/CaptureTiming.h"

TEST(CaptureTiming, FramesSamplesAndVideoFramesAgreeWithTheirDefinitions) {
    for (const std::uint64_t rate : {8000u, 22050u, 44100u, 48000u}) {
        for (const std::uint64_t fps : {1u, 24u, 30u, 60u, 83u, 84u, 144u, 240u}) {
            const CaptureTiming timing{12, fps, rate};
            std::uint64_t shown = 0;
            for (std::uint64_t frame = 0; frame < 3000; ++frame) {
                // The frame whose span holds a sample is the one that passes it.
                for (const std::uint64_t sample : {timing.sampleAt(frame), timing.sampleAt(frame + 1) - 1}) {
                    ASSERT_EQ(timing.frameContaining(sample), frame) << rate << " Hz, sample " << sample;
                }
                // Video frame j shows the last show frame drawn at or before j / fps.
                const std::uint64_t count = timing.videoFramesShowing(frame);
                for (std::uint64_t j = shown; j < shown + count; ++j) {
                    ASSERT_EQ(j * 1000 / (12 * fps), frame) << fps << " fps, video frame " << j;
                }
                shown += count;
                ASSERT_EQ(shown, timing.videoFramesThrough(frame + 1));
            }
            // Over the whole run the video lasts as long as the frames drawn.
            EXPECT_NEAR(static_cast<double>(shown) / static_cast<double>(fps), 3000 * 0.012,
                        1.0 / static_cast<double>(fps));
        }
    }
}
