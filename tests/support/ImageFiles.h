// Real picture files for the reader tests: raw bytes, PNG references decoded
// with libpng into RGBA, and JPGs written with libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // top row first, 4 bytes per pixel

    const std::uint8_t* at(int x, int y) const { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Fails the current test (and returns an empty image) when the file cannot be read.
RgbaImage readPng(const std::string& path);

// Writes the picture as an RGBA PNG; fails the current test when it cannot.
void writePng(const std::string& path, const RgbaImage& picture);

// Writes a JPG with libjpeg at high quality. `components` bytes per pixel in
// `pixels` (top row first); `colourSpace` is a libjpeg J_COLOR_SPACE value.
void writeJpg(const std::string& path, int colourSpace, int components, int width, int height,
              const std::vector<std::uint8_t>& pixels);

}  // namespace testsupport
