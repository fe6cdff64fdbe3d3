// A decoded picture on its way from a file reader to the texture upload.
#pragma once

#include <cstdint>
#include <vector>

struct ImageData {
    std::int32_t components = 0;  // bytes per pixel: 3 (RGB) or 4 (RGBA)
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Rows tightly packed in the order the file stores them; the first row
    // becomes texture row t = 0.
    std::vector<std::uint8_t> pixels;
};
