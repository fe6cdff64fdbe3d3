// Writing the generated pictures: JPG through libjpeg, the one TGA through
// our own run-length encoder (the show's reader is ours too), and the
// program's icons as PNG, compressed by zlib.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "pack/pictures/Canvas.h"

void writeJpg(const std::filesystem::path& path, const Canvas& canvas, int quality = 92);

// 32-bit run-length TGA (image type 10), rows top first with the top-left
// origin bit set. Packets never cross a row end, as the format advises.
std::vector<std::uint8_t> encodeRunLengthTga(const std::vector<std::uint8_t>& rgba, int width, int height);
void writeRunLengthTga(const std::filesystem::path& path, const Canvas& canvas);

// 8-bit RGBA PNG, rows top first, every row unfiltered.
std::vector<std::uint8_t> encodePng(const std::vector<std::uint8_t>& rgba, int width, int height);
void writePng(const std::filesystem::path& path, const Canvas& canvas);
