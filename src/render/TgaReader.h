// The subset of TGA the show reads: true colour at 16, 24 or 32 bits, raw or
// (24 and 32 bits) run-length encoded. The decoder is pure, so files of any
// shape can be tested and fuzzed; loadTga adds the file and its message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/ImageData.h"

// Decodes a whole file image. No image for a header that is cut short, an
// empty or oversized picture, or a depth/type pair outside the subset. Rows
// stay in file order whatever the origin bits say. Pixels the data does not
// reach (a short file) are left zero, and run-length packets that run past
// the last pixel are cut off there.
std::optional<ImageData> decodeTga(const std::uint8_t* bytes, std::size_t size);

// Reads the file through the data path. When it cannot be opened, writes
// "Unable to load TGA File!Error, MB_OK" to standard output; an unsupported
// file gives no image and no message.
std::optional<ImageData> loadTga(const char* fileName);
