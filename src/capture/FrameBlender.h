// Motion from the show's own frames: each video frame the average of the
// show frames that are up during its display interval, each weighted by the
// share of the interval it is up. Every show frame counts, so nothing the
// show draws is lost between two video frames, and a frame's edges fall on
// time, not on whichever show frame happened to be last.
//
// Weights are fixed-point parts of kBlendWhole that sum to exactly
// kBlendWhole in every video frame, so a picture that holds still comes out
// bit for bit as drawn. Each is within a part of its exact share; with 2^23
// parts, the 84 show frames of a video frame at 1 fps move an average by
// less than 1/300 of a shade, and a byte times the whole still fits 32 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "show/FrameTiming.h"

constexpr std::uint32_t kBlendWhole = 1u << 23;

// One show frame's part in a video frame.
struct BlendShare {
    std::uint64_t frame;  // the capture's show frame
    std::uint32_t weight;
};

// Which show frames make up which video frames, in the capture's own count
// (frame 0 is its first). Show frame m is up from m * periodMs to
// (m + 1) * periodMs; video frame j is shown from j / fps to (j + 1) / fps.
class BlendWeights {
public:
    explicit BlendWeights(const FrameTiming& timing);

    // The show frames up during video frame j, in order, each weighted by
    // the part of the interval it covers; the weights sum to kBlendWhole.
    std::vector<BlendShare> sharesOf(std::uint64_t videoFrame) const;
    // The first and last video frames that show frame m is up during.
    std::uint64_t firstVideoFrameOf(std::uint64_t frame) const { return frame * showSpan_ / videoSpan_; }
    std::uint64_t lastVideoFrameOf(std::uint64_t frame) const {
        return ((frame + 1) * showSpan_ + videoSpan_ - 1) / videoSpan_ - 1;
    }

private:
    // The two intervals in one unit of time, as small as keeps them whole.
    std::uint64_t showSpan_;
    std::uint64_t videoSpan_;
};

// The blend over pixels: show frames go in, in order, and every video frame
// they complete comes out, in order. Works on BGRA frames of one size (or
// any bytes: each is averaged on its own).
class FrameBlender {
public:
    // Receives one video frame; false stops the blend (the encoder failed).
    using Emit = std::function<bool(const std::uint8_t* pixels)>;

    FrameBlender(const FrameTiming& timing, std::size_t frameBytes);

    // Show frame m of the capture, after frames 0..m-1. False once `emit` was.
    bool add(std::uint64_t frame, const std::uint8_t* pixels, const Emit& emit);
    // The capture ended: a video frame it ended inside is the average of the
    // part of its interval that was captured. False when `emit` was.
    bool finish(const Emit& emit);

private:
    void accumulate(const std::uint8_t* pixels, std::uint32_t weight);
    const std::uint8_t* average();

    BlendWeights weights_;
    std::vector<std::uint32_t> sums_;  // weighted sums of the open video frame
    std::vector<std::uint8_t> out_;
    std::uint64_t gathered_ = 0;  // the weight in sums_ so far
};
