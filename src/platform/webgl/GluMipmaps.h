// The image arithmetic of gluBuild2DMipmaps for unsigned bytes, kept apart
// from GL so that tests can hold it to the desktop GLU's texels.
#pragma once

#include <cstdint>
#include <vector>

namespace mwgl::glu {

// The power of two GLU rounds a side to: the nearest, halves going down.
int nearestPower(int value);

// GLU's box filter from width x height to newWidth x newHeight; rows of the
// input are `stride` bytes apart, the output tightly packed.
std::vector<std::uint8_t> scaleImage(int components, int width, int height, const std::uint8_t* in, std::size_t stride,
                                     int newWidth, int newHeight);

// One level down: the 2x2 (or, for a single row or column, 2x1) average.
std::vector<std::uint8_t> halveImage(int components, int width, int height, const std::uint8_t* in);

}  // namespace mwgl::glu
