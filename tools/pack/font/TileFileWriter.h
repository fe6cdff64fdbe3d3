// Writes the TileFile format the show's font is read from: the magic with
// its NUL, two header words, then each tile as a record with its name,
// sizes and pixels. The lead-in and tail of a record carry nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct TileImage {
    std::string name;
    std::int32_t rows = 0;
    std::int32_t columns = 0;
    std::int32_t bytesPerPixel = 4;
    std::vector<unsigned char> pixels;  // top row first
};

void writeTileFile(const std::filesystem::path& path, std::int32_t headerWord, std::int32_t pixelFormat,
                   const std::vector<TileImage>& tiles);
