// The supersampler's reduction against its definition: each byte of the
// video frame the rounded mean of the factor x factor block of drawn bytes
// it stands for, rows kept in order.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

#include "capture/Supersampler.h"

TEST(Supersampler, EachPixelIsTheRoundedMeanOfItsBlock) {
    std::mt19937 random(11);
    const struct { int width, height; } sizes[] = {{1, 1}, {2, 2}, {7, 3}, {64, 48}, {33, 17}};
    for (int factor = 1; factor <= kLargestSupersample; ++factor) {
        for (const auto& size : sizes) {
            const int drawnWidth = size.width * factor, drawnHeight = size.height * factor;
            std::vector<std::uint8_t> drawn(static_cast<std::size_t>(drawnWidth) * drawnHeight * 4);
            // Random bytes, and a run of extremes where rounding and overflow would show.
            for (std::uint8_t& byte : drawn) byte = static_cast<std::uint8_t>(random());
            for (std::size_t i = 0; i < drawn.size() / 3; ++i) drawn[i] = 255;
            std::vector<std::uint8_t> out(static_cast<std::size_t>(size.width) * size.height * 4, 0xa5);
            reduceBox(drawn.data(), size.width, size.height, factor, out.data());
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    for (int c = 0; c < 4; ++c) {
                        double sum = 0;
                        for (int dy = 0; dy < factor; ++dy) {
                            for (int dx = 0; dx < factor; ++dx) {
                                sum += drawn[((static_cast<std::size_t>(y) * factor + dy) * drawnWidth +
                                              static_cast<std::size_t>(x) * factor + dx) *
                                                 4 +
                                             c];
                            }
                        }
                        const double mean = sum / (factor * factor);
                        const auto expected = static_cast<int>(std::floor(mean + 0.5));
                        ASSERT_EQ(out[(static_cast<std::size_t>(y) * size.width + x) * 4 + c], expected)
                            << "factor " << factor << ", " << size.width << "x" << size.height << " at " << x << ","
                            << y << " byte " << c;
                    }
                }
            }
        }
    }
}

TEST(Supersampler, RefusesFactorsItDoesNotOffer) {
    std::vector<std::uint8_t> drawn(25 * 4), out(4);
    for (const int factor : {0, -1, kLargestSupersample + 1}) {
        EXPECT_THROW(reduceBox(drawn.data(), 1, 1, factor, out.data()), std::invalid_argument) << factor;
    }
}
