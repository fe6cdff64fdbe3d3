// Where a capture's drawn frames go: a video through ffmpeg (VideoEncoder)
// or one frame into a PNG (StillWriter). The capture draws and reads back
// alike for both, so a still is the very frame a video holds.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "capture/VideoMetadata.h"

// A capture that cannot go on; the message is one line for the user.
class CaptureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CapturedSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;  // interleaved
};

class FrameSink {
public:
    virtual ~FrameSink() = default;

    // A buffer for the next drawn frame: BGRA pixels, supersample times the
    // output's width and height, bottom row first, as OpenGL reads them.
    // Waits while every buffer is in flight.
    virtual std::uint8_t* nextBuffer() = 0;
    // Takes the buffer last handed out: the capture's show frame `frame`,
    // to be shown `repeats` times.
    virtual void submit(std::uint64_t frame, std::uint64_t repeats) = 0;

    virtual std::uint64_t framesWritten() const = 0;
    // Throws CaptureError when the frames can no longer go anywhere.
    virtual void checkHealth() const = 0;

    // Completes the file at the output path, with the sound and what it says
    // about itself where the kind holds them. Throws CaptureError.
    virtual void finish(const CapturedSound& sound, const VideoMetadata& metadata) = 0;
};
