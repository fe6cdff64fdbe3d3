// The 4:2:0 the capture sends: BT.709's limited-range values of the colour
// bars, the chroma of a block as the average of its four pixels, and the
// rows turned top first.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "capture/Yuv420.h"

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// A width x height frame as OpenGL reads it back: BGRA, bottom row first;
// `colourAt(x, y)` gives the colour with y counted from the top.
template <typename ColourAt>
std::vector<std::uint8_t> readBack(int width, int height, ColourAt colourAt) {
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            std::uint8_t* pixel = &bgra[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
            pixel[0] = c.b;
            pixel[1] = c.g;
            pixel[2] = c.r;
            pixel[3] = 255;
        }
    }
    return bgra;
}

}  // namespace

TEST(Yuv420, ColourBarsHaveTheirBt709Values) {
    // The 100 % bars, with the values BT.709's 8-bit limited range gives them.
    const struct {
        const char* name;
        Rgb colour;
        std::array<int, 3> yuv;
    } bars[] = {
        {"white", {255, 255, 255}, {235, 128, 128}}, {"yellow", {255, 255, 0}, {219, 16, 138}},
        {"cyan", {0, 255, 255}, {188, 154, 16}},     {"green", {0, 255, 0}, {173, 42, 26}},
        {"magenta", {255, 0, 255}, {78, 214, 230}},  {"red", {255, 0, 0}, {63, 102, 240}},
        {"blue", {0, 0, 255}, {32, 240, 118}},       {"black", {0, 0, 0}, {16, 128, 128}},
        {"grey", {128, 128, 128}, {126, 128, 128}},
    };
    constexpr int kWidth = 6, kHeight = 4;
    for (const auto& bar : bars) {
        SCOPED_TRACE(bar.name);
        const std::vector<std::uint8_t> frame = readBack(kWidth, kHeight, [&](int, int) { return bar.colour; });
        std::vector<std::uint8_t> planes(yuv420Bytes(kWidth, kHeight), 0);
        convertToYuv420(frame.data(), kWidth, kHeight, planes.data());
        const std::size_t luma = kWidth * kHeight, chroma = luma / 4;
        ASSERT_EQ(planes.size(), luma + 2 * chroma);
        for (std::size_t i = 0; i < planes.size(); ++i) {
            const int plane = i < luma ? 0 : i < luma + chroma ? 1 : 2;
            ASSERT_EQ(planes[i], bar.yuv[plane]) << "byte " << i;
        }
    }
}

TEST(Yuv420, ChromaIsEachBlocksAverageAndRowsComeTopFirst) {
    // Top half red and blue in columns, bottom half a ramp of greys: each
    // 2x2 block on top has two reds and two blues, each below four greys.
    constexpr int kWidth = 8, kHeight = 4;
    const std::vector<std::uint8_t> frame = readBack(kWidth, kHeight, [](int x, int y) {
        if (y < 2) return x % 2 == 0 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
        const auto level = static_cast<std::uint8_t>(x * 30);
        return Rgb{level, level, level};
    });
    std::vector<std::uint8_t> planes(yuv420Bytes(kWidth, kHeight));
    convertToYuv420(frame.data(), kWidth, kHeight, planes.data());
    const std::uint8_t* luma = planes.data();
    const std::uint8_t* blue = luma + kWidth * kHeight;
    const std::uint8_t* red = blue + kWidth * kHeight / 4;
    // The top rows' luma alternates red's and blue's; the grey rows rise.
    EXPECT_EQ(luma[0], 63);
    EXPECT_EQ(luma[1], 32);
    EXPECT_EQ(luma[kWidth + 1], 32);
    for (int x = 1; x < kWidth; ++x) EXPECT_GT(luma[2 * kWidth + x], luma[2 * kWidth + x - 1]) << "column " << x;
    // Half red, half blue: the midpoints of their differences, rounded.
    for (int x = 0; x < kWidth / 2; ++x) {
        EXPECT_EQ(blue[x], (102 + 240 + 1) / 2) << "column " << x;
        EXPECT_EQ(red[x], (240 + 118 + 1) / 2) << "column " << x;
        EXPECT_EQ(blue[kWidth / 2 + x], 128) << "grey block " << x;
        EXPECT_EQ(red[kWidth / 2 + x], 128) << "grey block " << x;
    }
}
