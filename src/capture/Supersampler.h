// The last step of supersampling: a frame drawn at n times the video's
// width and height, each n x n block of its pixels averaged into one pixel
// of the video's (a box filter, the area each video pixel covers). Edges
// that the renderer draws in steps of one drawn pixel come out in steps of
// 1/n² of the way between their colours.
#pragma once

#include <cstdint>

// Supersampling factors the capture offers: 1 (none) to 4.
constexpr int kLargestSupersample = 4;

// `drawn` holds (width * factor) x (height * factor) 4-byte pixels, `out`
// receives width x height, rows in the same order; each byte is the
// rounded mean of the factor² bytes it stands for.
void reduceBox(const std::uint8_t* drawn, int width, int height, int factor, std::uint8_t* out);
