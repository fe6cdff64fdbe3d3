// JPG pictures through libjpeg's standard decompression sequence, always as
// 3-component RGB: greyscale files are expanded by the library.
#pragma once

#include <optional>

#include "render/ImageData.h"

// When the file cannot be opened, or holds CMYK/YCCK data that has no RGB
// rendering, writes "Unable to load JPG File!" and a line end to standard
// output and gives no image. Corrupt data is left to libjpeg's standard error
// handler, which prints the library's message and ends the process.
std::optional<ImageData> loadJpg(const char* fileName);

// The same decoding for reading ahead, on any thread, without a word: no
// image whenever loadJpg would print anything or end the process (a file
// that cannot be opened, data it cannot render or that is corrupt, even a
// warning), so that the caller can leave such a file to loadJpg at the time
// it always read it.
std::optional<ImageData> decodeJpgQuietly(const char* fileName);
