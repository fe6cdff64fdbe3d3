// The blend of show frames into video frames: the weights against the
// intervals they stand for, worked out in floating point here rather than
// in the blender's whole numbers, and the pixels a blend gives for pictures
// whose average is known.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "capture/FrameBlender.h"

namespace {

const FrameRate kRates[] = {{1},  {24000, 1001}, {24}, {25},  {30000, 1001}, {30},  {50},  {60000, 1001},
                            {60}, {83},          {84}, {120}, {144},         {240}, {250}, {1000}};
constexpr double kShowFramePeriod = 0.012;  // seconds

// How long show frame m is up during video frame j, as a share of j's interval.
double exactShare(std::uint64_t m, std::uint64_t j, const FrameRate& fps) {
    const double videoFrame = 1.0 / fps.perSecond();
    const double start = static_cast<double>(j) * videoFrame, end = start + videoFrame;
    const double from = std::max(start, static_cast<double>(m) * kShowFramePeriod);
    const double to = std::min(end, static_cast<double>(m + 1) * kShowFramePeriod);
    return std::max(0.0, to - from) / videoFrame;
}

// Blends `count` show frames, each a frame of `bytes` bytes that `frameOf`
// fills in, and returns the video frames that come out.
template <typename Fill>
std::vector<std::vector<std::uint8_t>> blend(const FrameRate& fps, std::uint64_t count, std::size_t bytes,
                                             Fill frameOf) {
    FrameBlender blender(FrameTiming{12, fps, 44100}, bytes);
    std::vector<std::vector<std::uint8_t>> out;
    const FrameBlender::Emit keep = [&](const std::uint8_t* pixels) {
        out.emplace_back(pixels, pixels + bytes);
        return true;
    };
    std::vector<std::uint8_t> frame(bytes);
    for (std::uint64_t m = 0; m < count; ++m) {
        frameOf(m, frame);
        EXPECT_TRUE(blender.add(m, frame.data(), keep));
    }
    EXPECT_TRUE(blender.finish(keep));
    return out;
}

}  // namespace

TEST(FrameBlender, WeightsAreEachShowFramesShareOfTheIntervalAndSumToOne) {
    for (const FrameRate& fps : kRates) {
        const BlendWeights weights(FrameTiming{12, fps, 44100});
        const std::uint64_t videoFrames = FrameTiming{12, fps, 44100}.videoFramesThrough(3000);
        std::vector<std::uint64_t> counted(3000 + 2, 0);
        std::uint64_t last = 0;  // the last show frame of the video frame before
        for (std::uint64_t j = 0; j < videoFrames; ++j) {
            const std::vector<BlendShare> shares = weights.sharesOf(j);
            ASSERT_FALSE(shares.empty()) << fps.text() << " video frame " << j;
            std::uint64_t sum = 0;
            for (std::size_t i = 0; i < shares.size(); ++i) {
                const BlendShare& share = shares[i];
                // Consecutive show frames, each up during the interval...
                if (i > 0) {
                    ASSERT_EQ(share.frame, shares[i - 1].frame + 1) << fps.text();
                }
                const double exact = exactShare(share.frame, j, fps);
                ASSERT_GT(exact, 1e-9) << fps.text() << " video frame " << j << " show frame " << share.frame;
                // ...weighted by its share, to within a part of the whole.
                ASSERT_NEAR(share.weight, exact * kBlendWhole, 1.0 + 1e-6) << fps.text() << " video frame " << j;
                ASSERT_GE(j, weights.firstVideoFrameOf(share.frame)) << fps.text();
                ASSERT_LE(j, weights.lastVideoFrameOf(share.frame)) << fps.text();
                sum += share.weight;
                if (share.frame < counted.size()) counted[share.frame] += share.weight;
            }
            ASSERT_EQ(sum, kBlendWhole) << fps.text() << " video frame " << j;
            // Nothing up during the interval is left out at either end, and
            // the video frames leave no show frame between them.
            ASSERT_LE(shares.front().frame, last + 1) << fps.text();
            EXPECT_LT(exactShare(shares.front().frame - 1, j, fps), 1e-9) << fps.text();
            EXPECT_LT(exactShare(shares.back().frame + 1, j, fps), 1e-9) << fps.text();
            last = shares.back().frame;
        }
        // Every show frame counts: each has a part in some video frame.
        for (std::uint64_t m = 0; m < 3000; ++m) ASSERT_GT(counted[m], 0u) << fps.text() << " show frame " << m;
    }
}

TEST(FrameBlender, AStillPictureComesOutBitForBitAtEveryRate) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> still(64 * 48 * 4);
    for (std::uint8_t& byte : still) byte = static_cast<std::uint8_t>(random());
    for (const FrameRate& fps : kRates) {
        // Cut off inside a video frame, so the last one is a partial average.
        const std::uint64_t count = 301;
        const auto out =
            blend(fps, count, still.size(), [&](std::uint64_t, std::vector<std::uint8_t>& frame) { frame = still; });
        ASSERT_EQ(out.size(), (FrameTiming{12, fps, 44100}.videoFramesThrough(count))) << fps.text();
        for (std::size_t j = 0; j < out.size(); ++j) ASSERT_EQ(out[j], still) << fps.text() << " video frame " << j;
    }
}

TEST(FrameBlender, AFadeGivesTheAverageOfWhatWasUpDuringEachFrame) {
    // Each show frame one shade, in a fade up and down again; each byte of a
    // frame a shade of its own (offset), so all 256 values are met.
    const std::size_t bytes = 256;
    const auto shade = [](std::uint64_t m, std::size_t byte) {
        const double t = static_cast<double>(m) / 150.0;
        return static_cast<std::uint8_t>(std::lround(127.5 + 127.5 * std::sin(t + static_cast<double>(byte) / 40.0)));
    };
    for (const FrameRate& fps : kRates) {
        const std::uint64_t count = 500;
        const auto out = blend(fps, count, bytes, [&](std::uint64_t m, std::vector<std::uint8_t>& frame) {
            for (std::size_t b = 0; b < bytes; ++b) frame[b] = shade(m, b);
        });
        ASSERT_EQ(out.size(), (FrameTiming{12, fps, 44100}.videoFramesThrough(count))) << fps.text();
        for (std::uint64_t j = 0; j < out.size(); ++j) {
            // The first show frame up during the interval, and the share of
            // the interval the capture covers (less than all for the last).
            // (one early, in case floating point lands just past a boundary: a frame not up has no share).
            const auto start = static_cast<std::uint64_t>(static_cast<double>(j) / fps.perSecond() / kShowFramePeriod);
            const std::uint64_t first = start > 0 ? start - 1 : 0;
            // and one past the last show frame that can be up during it.
            const auto end = std::min<std::uint64_t>(
                count, static_cast<std::uint64_t>(static_cast<double>(j + 1) / fps.perSecond() / kShowFramePeriod) + 2);
            double covered = 0;
            int frames = 0;
            for (std::uint64_t m = first; m < end; ++m) {
                covered += exactShare(m, j, fps);
                frames += exactShare(m, j, fps) > 0 ? 1 : 0;
            }
            for (std::size_t b = 0; b < bytes; ++b) {
                double expected = 0;
                for (std::uint64_t m = first; m < end; ++m) expected += exactShare(m, j, fps) * shade(m, b);
                expected /= covered;
                // Rounded to the nearest shade; each weight may be a part of
                // the whole off its exact share, which moves the average by
                // at most that much of the range for each show frame in it.
                ASSERT_NEAR(out[j][b], expected, 0.5 + 255.0 * frames / kBlendWhole)
                    << fps.text() << " video frame " << j << " byte " << b;
            }
        }
    }
}
