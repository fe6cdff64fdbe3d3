// Reading a 3DS file for a Model: the bytes are checked against what lib3ds
// can read safely before lib3ds itself is let loose on the same bytes.
#pragma once

#include <lib3ds/file.h>

#include <cstddef>
#include <cstdint>

// The file read from its bytes, or null when they are not safe to read.
Lib3dsFile* loadModelFile(const std::uint8_t* bytes, std::size_t size);
