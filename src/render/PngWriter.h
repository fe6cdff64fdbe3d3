// A frame as a PNG: 8-bit RGB, top row first, as every viewer shows it.
// The frame comes as OpenGL reads it back (four bytes a pixel, bottom row
// first); the alpha the renderer leaves is not part of the picture.
#pragma once

#include <cstdint>
#include <vector>

enum class ReadBackOrder { Bgra, Rgba };

// RGB, top row first, from `width` x `height` pixels as glReadPixels gives them.
std::vector<std::uint8_t> rgbFromReadBack(const std::uint8_t* pixels, int width, int height, ReadBackOrder order);

// The PNG file's bytes for `rgb` (3 bytes a pixel, top row first); empty
// when libpng fails (it cannot, short of memory).
std::vector<std::uint8_t> encodePng(const std::vector<std::uint8_t>& rgb, int width, int height);
