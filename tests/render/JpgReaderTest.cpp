#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "ImageFiles.h"
#include "TestData.h"
#include "render/JpgReader.h"

using testsupport::readBytes;
using testsupport::readPng;
using testsupport::testDataPath;
using testsupport::writeBytes;

namespace {

// A flat grey JPG in the given colour space (CMYK needs 4 components).
std::string writeFlatJpg(const std::string& name, J_COLOR_SPACE space, int components) {
    const std::string path = ::testing::TempDir() + name;
    testsupport::writeJpg(path, space, components, 8, 8, std::vector<std::uint8_t>(8 * 8 * components, 128));
    return path;
}

int largestDifference(const ImageData& image, const testsupport::RgbaImage& reference) {
    int worst = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* ours = image.pixels.data() + (static_cast<std::size_t>(y) * image.width + x) * 3;
            for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(ours[c] - reference.at(x, y)[c]));
        }
    }
    return worst;
}

}  // namespace

TEST(JpgRealFiles, DecodeTopRowFirstWithinAFewLevelsOfTheirReferences) {
    SKIP_WITHOUT_TESTDATA();
    // Baseline at awkward sizes, restart markers, greyscale (with odd sampling
    // factors), progressive and non-interleaved scans, 16-bit tables.
    for (const char* name : {"jpg-size-1x1", "jpg-size-2x2", "jpg-size-7x7", "jpg-size-15x15", "jpg-size-16x16",
                             "jpg-size-17x17", "jpg-size-31x31", "jpg-size-33x33", "jpg-gray", "jpg-progressive",
                             "grayscale_16x24_sampling2x2", "grayscale_long", "restarts", "non-interleaved-mcu",
                             "partial_progressive", "progressive3", "16bit-qtables", "blank_800x280"}) {
        SCOPED_TRACE(name);
        const std::string base = testDataPath(std::string("jpg/jpeg-decoder/") + name);
        const auto image = loadJpg((base + ".jpg").c_str());
        const auto reference = readPng(base + ".png");
        ASSERT_TRUE(image);
        EXPECT_EQ(image->components, 3);
        ASSERT_EQ(image->width, reference.width);
        ASSERT_EQ(image->height, reference.height);
        ASSERT_EQ(image->pixels.size(), static_cast<std::size_t>(image->width) * image->height * 3);
        EXPECT_LE(largestDifference(*image, reference), 3);
    }
}

TEST(JpgRealFiles, UnusualMarkerLayoutsAndSubsamplingDecode) {
    SKIP_WITHOUT_TESTDATA();
    struct Case {
        const char* name;
        int width;
        int height;
    };
    for (const Case& c : {Case{"libjpeg-turbo/testorig.jpg", 227, 149}, Case{"pillow/hopper.jpg", 128, 128},
                          Case{"pillow/app13-multiple.jpg", 256, 160}, Case{"pillow/iptc.jpg", 640, 480},
                          Case{"pillow/orientation_rectangle.jpg", 2, 1}}) {
        SCOPED_TRACE(c.name);
        const auto image = loadJpg(testDataPath(std::string("jpg/") + c.name).c_str());
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, c.width);
        EXPECT_EQ(image->height, c.height);
        EXPECT_EQ(image->pixels.size(), static_cast<std::size_t>(c.width) * c.height * 3);
    }
}

TEST(JpgGreyscale, ComesOutAsThreeEqualChannels) {
    SKIP_WITHOUT_TESTDATA();
    const auto image = loadJpg(testDataPath("jpg/pillow/hopper_gray.jpg").c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->components, 3);
    ASSERT_EQ(image->pixels.size(), 128u * 128u * 3u);
    int distinctLevels = 0;
    std::vector<bool> seen(256, false);
    for (std::size_t i = 0; i < image->pixels.size(); i += 3) {
        ASSERT_EQ(image->pixels[i], image->pixels[i + 1]);
        ASSERT_EQ(image->pixels[i], image->pixels[i + 2]);
        if (!seen[image->pixels[i]]) ++distinctLevels, seen[image->pixels[i]] = true;
    }
    EXPECT_GT(distinctLevels, 50);  // a photo, not a flat fill
}

TEST(JpgUnreadable, MissingFileAndCmykAreRefusedWithTheMessage) {
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(loadJpg("no-such-picture.jpg"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Unable to load JPG File!\n");

    const std::string cmyk = writeFlatJpg("cmyk.jpg", JCS_CMYK, 4);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(loadJpg(cmyk.c_str()));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Unable to load JPG File!\n");
}

TEST(JpgUnreadable, TruncatedDataStillGivesTheWholePicture) {
    SKIP_WITHOUT_TESTDATA();
    // libjpeg warns and pads the missing scans; only corrupt data ends the process.
    std::vector<std::uint8_t> bytes = readBytes(testDataPath("jpg/pillow/hopper.jpg"));
    bytes.resize(bytes.size() / 2);
    const std::string path = ::testing::TempDir() + "half.jpg";
    writeBytes(path, bytes);
    const auto image = loadJpg(path.c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 128);
    EXPECT_EQ(image->pixels.size(), 128u * 128u * 3u);
}

TEST(JpgCorruptDeathTest, LibraryMessageAndFailureExit) {
    const std::string path = ::testing::TempDir() + "not-a-jpg.jpg";
    writeBytes(path, {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0});
    EXPECT_EXIT(loadJpg(path.c_str()), ::testing::ExitedWithCode(EXIT_FAILURE),
                ::testing::HasSubstr("Not a JPEG file"));
}
