#include "capture/StillWriter.h"

#include <cstring>

#include "capture/Supersampler.h"
#include "platform/StagedFile.h"
#include "render/PngWriter.h"

StillWriter::StillWriter(const std::string& file, int width, int height, int supersample)
    : file_(file),
      width_(width),
      height_(height),
      supersample_(supersample),
      drawn_(std::size_t{4} * static_cast<std::size_t>(width * supersample) *
             static_cast<std::size_t>(height * supersample)) {}

void StillWriter::submit(std::uint64_t frame, std::uint64_t) {
    if (frame == 0) kept_ = true;
}

void StillWriter::finish(const CapturedSound&, const VideoMetadata&) {
    if (!kept_) throw CaptureError("nothing to capture: the show ended before the frame");
    // The reduction the video's frames go through, on the same bytes.
    std::vector<std::uint8_t> reduced;
    const std::uint8_t* pixels = drawn_.data();
    if (supersample_ > 1) {
        reduced.resize(std::size_t{4} * static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        reduceBox(drawn_.data(), width_, height_, supersample_, reduced.data());
        pixels = reduced.data();
    }
    const std::vector<std::uint8_t> png =
        encodePng(rgbFromReadBack(pixels, width_, height_, ReadBackOrder::Bgra), width_, height_);
    if (png.empty()) throw CaptureError("cannot encode the PNG");
    platform::StagedFile staged(file_);
    if (!staged.write(png.data(), png.size()) || !staged.replace(file_)) {
        throw CaptureError("cannot write " + file_ + ": " + std::strerror(staged.error()));
    }
    written_ = true;
}
