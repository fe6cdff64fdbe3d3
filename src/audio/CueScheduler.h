// Which cue points a stretch of playback passes. The audio callback plays the
// stream in buffers that wrap at its end; this answers, for one buffer, which
// cues it crossed and in what order, so every cue fires once per pass. Kept
// apart from the audio backend so the rules can be checked without a device.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class CueScheduler {
public:
    CueScheduler() = default;
    // cueFrames[i] is the sample frame of cue i. A cue at or past the end of
    // the stream is moved to its last frame, so it still fires once per pass.
    CueScheduler(const std::vector<std::uint32_t>& cueFrames, std::uint32_t streamFrames);

    std::uint32_t streamFrames() const { return length; }

    // Calls visit(cueIndex) for every cue whose frame lies in the `count`
    // frames played from `position` on, wrapping at the end of the stream
    // (a buffer longer than the stream passes it several times). Cues come
    // in the order playback meets them; cues on the same frame in the order
    // they were given. Allocates nothing: it runs inside the audio callback.
    template <typename Visit>
    void forEachPassed(std::uint32_t position, std::uint64_t count, Visit&& visit) const;

private:
    struct Cue {
        std::uint32_t frame;
        std::size_t index;
    };
    std::size_t firstAtOrAfter(std::uint32_t frame) const;

    std::vector<Cue> cues;  // sorted by frame
    std::uint32_t length = 0;
};

template <typename Visit>
void CueScheduler::forEachPassed(std::uint32_t position, std::uint64_t count, Visit&& visit) const {
    if (length == 0) return;
    position %= length;
    std::size_t next = firstAtOrAfter(position);
    while (count > 0) {
        const std::uint64_t end = std::min<std::uint64_t>(position + count, length);
        for (; next < cues.size() && cues[next].frame < end; ++next) visit(cues[next].index);
        count -= end - position;
        position = static_cast<std::uint32_t>(end);
        if (position == length) {
            position = 0;
            next = 0;
        }
    }
}
