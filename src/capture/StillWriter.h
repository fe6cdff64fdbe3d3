// One frame of the show as a PNG, from the capture's own drawing and read
// back: the frame a video of the same span would start with, pixel for
// pixel as an archive holds it. No ffmpeg; libpng writes it, into a file of
// its own beside the PNG that is renamed into place only once whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/FrameSink.h"

class StillWriter : public FrameSink {
public:
    // A still of width x height pixels, drawn at `supersample` times both.
    StillWriter(const std::string& file, int width, int height, int supersample);

    std::uint8_t* nextBuffer() override { return drawn_.data(); }
    // Keeps the capture's first frame; a still has no other.
    void submit(std::uint64_t frame, std::uint64_t repeats) override;
    std::uint64_t framesWritten() const override { return written_ ? 1 : 0; }
    void checkHealth() const override {}
    // Writes the PNG; a still has no sound and no chapters.
    void finish(const CapturedSound& sound, const VideoMetadata& metadata) override;

private:
    const std::string file_;
    const int width_, height_, supersample_;
    std::vector<std::uint8_t> drawn_;
    bool kept_ = false;
    bool written_ = false;
};
