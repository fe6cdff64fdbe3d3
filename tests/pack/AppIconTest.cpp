// The program's icon: a PNG any reader decodes to the pixels written, and
// the king's gold ball of the pack's ting/kingThing.jpg cut to its disc.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ImageFiles.h"
#include "WorkingDirectory.h"
#include "pack/icon/AppIcon.h"
#include "pack/pictures/PictureFiles.h"
#include "render/JpgReader.h"

TEST(AppIcon, PngHoldsExactlyThePixelsWrittenAtAnySize) {
    const struct { int width, height; } sizes[] = {{1, 1}, {3, 2}, {17, 5}, {256, 256}};
    testsupport::ScratchDirectory scratch;
    std::uint32_t seed = 12345;
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size.width) * size.height * 4);
        for (std::uint8_t& byte : rgba) byte = static_cast<std::uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
        const std::string file = (scratch.path() / "picture.png").string();
        testsupport::writeBytes(file, encodePng(rgba, size.width, size.height));
        const testsupport::RgbaImage image = testsupport::readPng(file);
        EXPECT_EQ(image.width, size.width);
        EXPECT_EQ(image.height, size.height);
        EXPECT_EQ(image.pixels, rgba);
    }
    EXPECT_THROW(encodePng(std::vector<std::uint8_t>(15), 2, 2), std::invalid_argument);
}

// Within the disc the icon is the picture turned sky up, scaled to the disc;
// outside the disc nothing shows.
TEST(AppIcon, IsTheGoldBallOfThePackCutToItsDisc) {
    const std::string jpg = std::string(MARROWICK_PACK_DIR) + "/ting/kingThing.jpg";
    const std::optional<ImageData> ball = loadJpg(jpg.c_str());
    ASSERT_TRUE(ball) << jpg;
    testsupport::ScratchDirectory scratch;
    for (const int size : {48, 128, 256}) {
        SCOPED_TRACE(size);
        const std::string file = (scratch.path() / "icon.png").string();
        writeAppIcon(file, size);
        const testsupport::RgbaImage icon = testsupport::readPng(file);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        const double margin = size / 16, radius = size / 2.0 - margin;
        double difference = 0;
        int inside = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
                const double distance = std::sqrt(dx * dx + dy * dy);
                const std::uint8_t* pixel = icon.at(x, y);
                if (distance > radius + 1) {
                    ASSERT_EQ(pixel[3], 0) << "at " << x << "," << y;
                } else if (distance < radius - 1) {
                    ASSERT_EQ(pixel[3], 255) << "at " << x << "," << y;
                    const int u = static_cast<int>((x - margin + 0.5) / (2 * radius) * ball->width);
                    const int v = static_cast<int>((1 - (y - margin + 0.5) / (2 * radius)) * ball->height);
                    const std::uint8_t* seen =
                        ball->pixels.data() + (static_cast<std::size_t>(v) * ball->width + u) * 3;
                    for (int c = 0; c < 3; ++c) difference += std::abs(pixel[c] - seen[c]);
                    ++inside;
                }
            }
        }
        // JPG's loss and the different sampling, nothing like another picture.
        EXPECT_LT(difference / (3 * inside), 6.0);
    }
}
