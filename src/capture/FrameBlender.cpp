#include "capture/FrameBlender.h"

#include <algorithm>
#include <numeric>

BlendWeights::BlendWeights(const FrameTiming& timing)
    : showSpan_(timing.periodMs * timing.fps.frames), videoSpan_(1000 * timing.fps.seconds) {
    const std::uint64_t common = std::gcd(showSpan_, videoSpan_);
    showSpan_ /= common;
    videoSpan_ /= common;
}

std::vector<BlendShare> BlendWeights::sharesOf(std::uint64_t videoFrame) const {
    const std::uint64_t start = videoFrame * videoSpan_, end = start + videoSpan_;
    const std::uint64_t first = start / showSpan_, last = (end + showSpan_ - 1) / showSpan_ - 1;
    std::vector<BlendShare> shares;
    std::vector<std::uint64_t> leftOver;
    std::uint64_t given = 0;
    for (std::uint64_t frame = first; frame <= last; ++frame) {
        const std::uint64_t covered = std::min(end, (frame + 1) * showSpan_) - std::max(start, frame * showSpan_);
        const std::uint64_t exact = covered * kBlendWhole;
        shares.push_back({frame, static_cast<std::uint32_t>(exact / videoSpan_)});
        leftOver.push_back(exact % videoSpan_);
        given += shares.back().weight;
    }
    // Rounding down leaves less than one part per frame; it goes, a part
    // each, to the frames that rounding cut most (the earlier on a tie), so
    // the weights sum to the whole and each is within one part of exact.
    std::vector<std::size_t> order(shares.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return leftOver[a] > leftOver[b]; });
    for (std::size_t i = 0; given < kBlendWhole; ++i, ++given) ++shares[order[i]].weight;
    return shares;
}

FrameBlender::FrameBlender(const FrameTiming& timing, std::size_t frameBytes)
    : weights_(timing), sums_(frameBytes), out_(frameBytes) {}

bool FrameBlender::add(std::uint64_t frame, const std::uint8_t* pixels, const Emit& emit) {
    const std::uint64_t last = weights_.lastVideoFrameOf(frame);
    for (std::uint64_t video = weights_.firstVideoFrameOf(frame); video <= last; ++video) {
        const std::vector<BlendShare> shares = weights_.sharesOf(video);
        if (shares.size() == 1) {
            // Up for the whole interval: the frame itself, nothing to average.
            if (!emit(pixels)) return false;
            continue;
        }
        const auto mine =
            std::find_if(shares.begin(), shares.end(), [&](const BlendShare& s) { return s.frame == frame; });
        accumulate(pixels, mine->weight);
        if (frame == shares.back().frame && !emit(average())) return false;
    }
    return true;
}

bool FrameBlender::finish(const Emit& emit) { return gathered_ == 0 || emit(average()); }

void FrameBlender::accumulate(const std::uint8_t* pixels, std::uint32_t weight) {
    std::uint32_t* sums = sums_.data();
    const std::size_t size = sums_.size();
    if (gathered_ == 0) {
        for (std::size_t i = 0; i < size; ++i) sums[i] = weight * pixels[i];
    } else {
        for (std::size_t i = 0; i < size; ++i) sums[i] += weight * pixels[i];
    }
    gathered_ += weight;
}

const std::uint8_t* FrameBlender::average() {
    std::uint8_t* out = out_.data();
    const std::uint32_t* sums = sums_.data();
    const std::size_t size = sums_.size();
    if (gathered_ == kBlendWhole) {
        for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>((sums[i] + kBlendWhole / 2) >> 23);
    } else {
        // Only the capture's last video frame, cut short, has less.
        const auto whole = static_cast<std::uint32_t>(gathered_);
        for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>((sums[i] + whole / 2) / whole);
    }
    gathered_ = 0;
    return out;
}
