// Feeds arbitrary bytes to the TGA decoder: it must never read or write
// outside its buffers, and any picture it returns must be whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/TgaReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Huge declared sizes only cost time clearing memory; the size checks
    // themselves are covered by the unit tests.
    if (size >= 16) {
        const std::size_t width = data[12] | (data[13] << 8);
        const std::size_t height = data[14] | (data[15] << 8);
        if (width * height > (1u << 16)) return 0;
    }
    const auto image = decodeTga(data, size);
    if (image) {
        const bool wellFormed =
            (image->components == 3 || image->components == 4) && image->width > 0 && image->height > 0 &&
            image->pixels.size() == static_cast<std::size_t>(image->width) * image->height * image->components;
        if (!wellFormed) std::abort();
    }
    return 0;
}
