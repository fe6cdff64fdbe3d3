// The arithmetic that ties the offline clock's frames to the music's samples
// and to the video's frames. Show frame n is drawn at n * periodMs and the
// music has then played sampleAt(n) samples; video frame j, at j / fps
// seconds, shows the last show frame drawn at or before that moment, as a
// display refreshing fps times a second would. The rate is a fraction and
// the arithmetic is in whole numbers throughout, so no rounding drifts over
// a long show, at 60000/1001 frames a second as at 60.
#pragma once

#include <cstdint>

#include "show/FrameRate.h"

struct FrameTiming {
    std::uint64_t periodMs;
    FrameRate fps;
    std::uint64_t sampleRate;

    // Samples played before show frame n starts.
    std::uint64_t sampleAt(std::uint64_t frame) const { return frame * periodMs * sampleRate / 1000; }

    // The frame during which playback passes `sample`; the next frame reads
    // the cue that sits there.
    std::uint64_t frameContaining(std::uint64_t sample) const {
        const std::uint64_t perFrame = periodMs * sampleRate;
        return ((sample + 1) * 1000 + perFrame - 1) / perFrame - 1;
    }

    // Video frames that the first `showFrames` frames of a capture fill:
    // those that start before the last of them ends.
    std::uint64_t videoFramesThrough(std::uint64_t showFrames) const {
        const std::uint64_t videoFrameSpan = 1000 * fps.seconds;
        return (showFrames * periodMs * fps.frames + videoFrameSpan - 1) / videoFrameSpan;
    }

    // How many video frames show the capture's frame m: 0 for a frame that
    // no video frame catches (it is drawn, but its pixels are never seen).
    std::uint64_t videoFramesShowing(std::uint64_t frame) const {
        return videoFramesThrough(frame + 1) - videoFramesThrough(frame);
    }

    // The capture's frame that video frame j shows.
    std::uint64_t frameShownBy(std::uint64_t videoFrame) const {
        return videoFrame * 1000 * fps.seconds / (periodMs * fps.frames);
    }
};
