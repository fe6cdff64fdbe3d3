// Real picture files for the reader tests: raw bytes, and PNG references
// decoded with libpng into RGBA.
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

std::string testdataPath(const std::string& relative);

}  // namespace testsupport
