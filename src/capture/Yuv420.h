// A drawn frame as the lossy codecs take it: planar 4:2:0, luma then the
// blue and the red difference, top row first, in BT.709's limited range
// (the files say so). Converting here, beside the read-back, spares ffmpeg
// its general-purpose scaler, the slowest part of its work, and sends the
// pipe less than half the bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of a width x height frame in planar 4:2:0 (both even).
std::size_t yuv420Bytes(int width, int height);

// `bgra` as OpenGL reads a frame back (bottom row first) into `planes`
// (yuv420Bytes long). Each chroma sample is the average of the 2x2 block
// of pixels it stands for.
void convertToYuv420(const std::uint8_t* bgra, int width, int height, std::uint8_t* planes);
