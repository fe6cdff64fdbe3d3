#include "capture/Supersampler.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// One function per factor, so that the block's width and the division by
// its area are constants the compiler can unroll and turn into shifts.
template <int N>
void reduceRows(const std::uint8_t* drawn, std::size_t width, std::size_t height, std::uint8_t* out) {
    constexpr unsigned kArea = N * N;
    const std::size_t drawnRow = width * N * 4;
    std::vector<std::uint16_t> sums(width * 4);
    for (std::size_t y = 0; y < height; ++y) {
        std::uint16_t* sum = sums.data();
        for (std::size_t i = 0; i < width * 4; ++i) sum[i] = 0;
        for (int r = 0; r < N; ++r) {
            const std::uint8_t* row = drawn + (y * N + static_cast<std::size_t>(r)) * drawnRow;
            for (std::size_t x = 0; x < width; ++x) {
                for (int k = 0; k < N; ++k) {
                    const std::uint8_t* pixel = row + (x * N + static_cast<std::size_t>(k)) * 4;
                    for (int c = 0; c < 4; ++c) sum[x * 4 + static_cast<std::size_t>(c)] += pixel[c];
                }
            }
        }
        std::uint8_t* line = out + y * width * 4;
        for (std::size_t i = 0; i < width * 4; ++i) line[i] = static_cast<std::uint8_t>((sum[i] + kArea / 2) / kArea);
    }
}

}  // namespace

void reduceBox(const std::uint8_t* drawn, int width, int height, int factor, std::uint8_t* out) {
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    switch (factor) {
    case 1:
        reduceRows<1>(drawn, w, h, out);
        break;
    case 2:
        reduceRows<2>(drawn, w, h, out);
        break;
    case 3:
        reduceRows<3>(drawn, w, h, out);
        break;
    case 4:
        reduceRows<4>(drawn, w, h, out);
        break;
    default:
        throw std::invalid_argument("supersampling factor " + std::to_string(factor) + " is not 1 to 4");
    }
}
