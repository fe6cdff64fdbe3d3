// A still from the bytes the capture reads back: the PNG is 8-bit RGB, top
// row first, each pixel the mean of its supersampled block; on a full disk
// the file the user had under the name stays as it was, and nothing else is
// left beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FileSizeLimit.h"
#include "ImageFiles.h"
#include "WorkingDirectory.h"
#include "capture/StillWriter.h"

namespace fs = std::filesystem;

TEST(StillWriter, WritesTheDrawnFrameReducedAndUprightOrNothing) {
    constexpr int kWidth = 48, kHeight = 32;
    const struct {
        int supersample;
        bool fullDisk;
    } cases[] = {{1, false}, {2, false}, {3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE("supersample " + std::to_string(c.supersample) + (c.fullDisk ? ", full disk" : ""));
        const testsupport::ScratchDirectory scratch;
        const fs::path file = scratch.path() / "still.png";
        std::ofstream(file) << "the user's own";
        StillWriter still(file.string(), kWidth, kHeight, c.supersample);
        // Noise in every byte, so no two rows or blocks are alike and the
        // PNG cannot be squeezed under the limit.
        const int drawnWidth = kWidth * c.supersample, drawnHeight = kHeight * c.supersample;
        std::uint8_t* drawn = still.nextBuffer();
        std::uint32_t seed = 12345;
        for (int i = 0; i < drawnWidth * drawnHeight * 4; ++i) {
            seed = seed * 1664525u + 1013904223u;
            drawn[i] = static_cast<std::uint8_t>(seed >> 24);
        }
        // What the video's reduction and the PNG's order make of it: BGRA
        // bottom row first becomes RGB top row first.
        std::vector<std::uint8_t> expected;
        const int area = c.supersample * c.supersample;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                for (const int channel : {2, 1, 0}) {
                    int sum = 0;
                    for (int dy = 0; dy < c.supersample; ++dy) {
                        for (int dx = 0; dx < c.supersample; ++dx) {
                            const int row = (kHeight - 1 - y) * c.supersample + dy;
                            sum += drawn[(row * drawnWidth + x * c.supersample + dx) * 4 + channel];
                        }
                    }
                    expected.push_back(static_cast<std::uint8_t>((sum + area / 2) / area));
                }
            }
        }
        still.submit(0, 1);

        if (c.fullDisk) {
            {
                const testsupport::FileSizeLimit full(1024);
                EXPECT_THROW(still.finish({}, {}), CaptureError);
            }
            std::ifstream in(file);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                      "the user's own");
        } else {
            still.finish({}, {});
            const std::vector<std::uint8_t> bytes = testsupport::readBytes(file.string());
            ASSERT_GT(bytes.size(), 26u);
            EXPECT_EQ(bytes[24], 8) << "bits a channel";
            EXPECT_EQ(bytes[25], 2) << "colour type: RGB";
            const testsupport::RgbaImage png = testsupport::readPng(file.string());
            ASSERT_EQ(png.width, kWidth);
            ASSERT_EQ(png.height, kHeight);
            std::vector<std::uint8_t> rgb;
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) rgb.insert(rgb.end(), png.at(x, y), png.at(x, y) + 3);
            }
            EXPECT_EQ(rgb, expected);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
    }
}
