#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "pack/pictures/PictureFiles.h"
#include "render/TgaReader.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

// Rows that exercise every packet boundary: a run longer than one packet,
// a raw stretch longer than one packet, a pair, lone pixels, and a run
// that ends exactly at the row end.
Bytes awkwardRows(int width, int height) {
    Bytes rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t v;
            if (x < 200)
                v = static_cast<std::uint8_t>(10 + y);  // run of 200: 128 + 72
            else if (x < 340)
                v = static_cast<std::uint8_t>(x * 7 + y);  // 140 different pixels
            else if (x < 342)
                v = 99;  // a pair
            else if (x < 345)
                v = static_cast<std::uint8_t>(x);  // lone pixels
            else
                v = 0;  // run to the row end
            rgba.insert(rgba.end(), {v, static_cast<std::uint8_t>(v ^ 0x55), static_cast<std::uint8_t>(255 - v),
                                     static_cast<std::uint8_t>(x < 345 ? 255 : 0)});
        }
    }
    return rgba;
}

}  // namespace

TEST(TgaEncoder, RoundTripsThroughTheShowsReader) {
    constexpr int kWidth = 400;
    constexpr int kHeight = 3;
    const Bytes rgba = awkwardRows(kWidth, kHeight);
    const Bytes file = encodeRunLengthTga(rgba, kWidth, kHeight);
    EXPECT_EQ(file[2], 10);
    EXPECT_EQ(file[16], 32);
    EXPECT_LT(file.size(), rgba.size());  // the runs were found
    const auto image = decodeTga(file.data(), file.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->components, 4);
    EXPECT_EQ(image->width, kWidth);
    EXPECT_EQ(image->height, kHeight);
    EXPECT_EQ(image->pixels, rgba);
}

TEST(TgaEncoder, PacketsStopAtEveryRowEnd) {
    // The last pixels of one row equal the first of the next: a run that
    // carried on across the row end would still decode, so walk the packets.
    constexpr int kWidth = 5;
    const Bytes rgba(static_cast<std::size_t>(kWidth) * 4 * 4, 7);
    const Bytes file = encodeRunLengthTga(rgba, kWidth, 4);
    std::size_t at = 18;
    int column = 0;
    int packets = 0;
    while (at < file.size()) {
        const int header = file[at++];
        const int count = (header & 0x7F) + 1;
        at += header >= 128 ? 4 : 4u * count;
        column += count;
        ASSERT_LE(column, kWidth) << "packet " << packets << " crosses a row end";
        if (column == kWidth) column = 0;
        ++packets;
    }
    EXPECT_EQ(packets, 4);
    EXPECT_EQ(at, file.size());
}
