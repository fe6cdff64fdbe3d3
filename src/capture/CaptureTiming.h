// The arithmetic that ties the offline clock's frames to the music's samples
// and to the video's frames. Show frame n is drawn at n * periodMs and the
// music has then played sampleAt(n) samples; video frame j, at j / fps
// seconds, shows the last show frame drawn at or before that moment, as a
// display refreshing fps times a second would. Integer arithmetic throughout,
// so no rounding drifts over a long show.
#pragma once

#include <cstdint>

struct CaptureTiming {
    std::uint64_t periodMs;
    std::uint64_t fps;
    std::uint64_t sampleRate;

    // Samples played before show frame n starts.
    std::uint64_t sampleAt(std::uint64_t frame) const { return frame * periodMs * sampleRate / 1000; }

    // The frame during which playback passes `sample`; the next frame reads
    // the cue that sits there.
    std::uint64_t frameContaining(std::uint64_t sample) const {
        const std::uint64_t perFrame = periodMs * sampleRate;
        return ((sample + 1) * 1000 + perFrame - 1) / perFrame - 1;
    }

    // Video frames that the first `showFrames` frames of a capture fill.
    std::uint64_t videoFramesThrough(std::uint64_t showFrames) const {
        return (showFrames * periodMs * fps + 999) / 1000;
    }

    // How many video frames show the capture's frame m: 0 for a frame that
    // no video frame catches (it is drawn, but its pixels are never seen).
    std::uint64_t videoFramesShowing(std::uint64_t frame) const {
        return videoFramesThrough(frame + 1) - videoFramesThrough(frame);
    }
};
