#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ImageFiles.h"
#include "TestData.h"
#include "render/TgaReader.h"

using testsupport::readBytes;
using testsupport::readPng;
using testsupport::testDataPath;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes header(int imageType, int width, int height, int depth, int idLength = 0, int descriptor = 0) {
    Bytes h(18, 0);
    h[0] = static_cast<std::uint8_t>(idLength);
    h[2] = static_cast<std::uint8_t>(imageType);
    h[12] = static_cast<std::uint8_t>(width & 0xFF);
    h[13] = static_cast<std::uint8_t>(width >> 8);
    h[14] = static_cast<std::uint8_t>(height & 0xFF);
    h[15] = static_cast<std::uint8_t>(height >> 8);
    h[16] = static_cast<std::uint8_t>(depth);
    h[17] = static_cast<std::uint8_t>(descriptor);
    return h;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::optional<ImageData> decode(const Bytes& file) { return decodeTga(file.data(), file.size()); }

Bytes pixel(const ImageData& image, int index) {
    const auto* p = image.pixels.data() + static_cast<std::size_t>(index) * image.components;
    return Bytes(p, p + image.components);
}

}  // namespace

TEST(TgaDecode, UncompressedTrueColourSwapsBlueAndRedAndKeepsFileRowOrder) {
    // Bottom-left origin (descriptor 0): rows must still come out in file order.
    const auto image = decode(header(2, 2, 2, 24) + Bytes{10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->components, 3);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, (Bytes{30, 20, 10, 3, 2, 1, 6, 5, 4, 9, 8, 7}));

    const auto rgba = decode(header(2, 1, 2, 32, 0, 0x28) + Bytes{1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->components, 4);
    EXPECT_EQ(rgba->pixels, (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST(TgaDecode, EveryImageTypeButTenIsReadUncompressed) {
    for (int type : {0, 1, 2, 3, 9, 11, 255}) {
        const auto image = decode(header(type, 1, 1, 24) + Bytes{10, 20, 30});
        ASSERT_TRUE(image) << "type " << type;
        EXPECT_EQ(image->pixels, (Bytes{30, 20, 10})) << "type " << type;
        const auto wide = decode(header(type, 1, 1, 16) + Bytes{0x1F, 0x00});
        ASSERT_TRUE(wide) << "type " << type;
        EXPECT_EQ(wide->pixels, (Bytes{0, 0, 248})) << "type " << type;
    }
}

TEST(TgaDecode, SixteenBitWordsExpandByShiftingAndIgnoreTheTopBit) {
    // Little-endian words 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x8000, 0x8421.
    const auto image =
        decode(header(2, 6, 1, 16) + Bytes{0xFF, 0x7F, 0x1F, 0x00, 0xE0, 0x03, 0x00, 0x7C, 0x00, 0x80, 0x21, 0x84});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->components, 3);
    EXPECT_EQ(pixel(*image, 0), (Bytes{248, 248, 248}));
    EXPECT_EQ(pixel(*image, 1), (Bytes{0, 0, 248}));
    EXPECT_EQ(pixel(*image, 2), (Bytes{0, 248, 0}));
    EXPECT_EQ(pixel(*image, 3), (Bytes{248, 0, 0}));
    EXPECT_EQ(pixel(*image, 4), (Bytes{0, 0, 0}));
    EXPECT_EQ(pixel(*image, 5), (Bytes{8, 8, 8}));
}

TEST(TgaDecode, ImageIdFieldIsSkipped) {
    const auto image = decode(header(2, 1, 1, 24, 5) + Bytes{99, 99, 99, 99, 99} + Bytes{10, 20, 30});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (Bytes{30, 20, 10}));

    const auto runLength = decode(header(10, 2, 1, 24, 3) + Bytes{0x80, 0x81, 0x82} + Bytes{0x81, 1, 2, 3});
    ASSERT_TRUE(runLength);
    EXPECT_EQ(runLength->pixels, (Bytes{3, 2, 1, 3, 2, 1}));
}

TEST(TgaRunLength, RunPacketRepeatsOnePixel) {
    const auto image = decode(header(10, 4, 1, 32) + Bytes{0x83, 1, 2, 3, 4});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->components, 4);
    EXPECT_EQ(image->pixels, (Bytes{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}));
}

TEST(TgaRunLength, PacketHeadersAtTheEdgesOfBothKinds) {
    // 0x00: one raw pixel; 0x7F: 128 raw pixels; 0xFF: a run of 128.
    Bytes file = header(10, 257, 1, 24) + Bytes{0x00, 7, 8, 9, 0x7F};
    for (int i = 0; i < 128; ++i) file = file + Bytes{static_cast<std::uint8_t>(i), 0, 200};
    file = file + Bytes{0xFF, 50, 60, 70};
    const auto image = decode(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(pixel(*image, 0), (Bytes{9, 8, 7}));
    for (int i = 0; i < 128; ++i) EXPECT_EQ(pixel(*image, 1 + i), (Bytes{200, 0, static_cast<std::uint8_t>(i)}));
    for (int i = 129; i < 257; ++i) EXPECT_EQ(pixel(*image, i), (Bytes{70, 60, 50})) << i;
}

TEST(TgaRunLength, PacketsPastTheLastPixelAreCutOff) {
    // A run of 6 and a raw packet of 6 into a 2x1 picture; the bytes after
    // the cut must not land anywhere.
    const auto run = decode(header(10, 2, 1, 24) + Bytes{0x85, 1, 2, 3} + Bytes{0x85, 4, 5, 6});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->pixels, (Bytes{3, 2, 1, 3, 2, 1}));

    const auto raw = decode(header(10, 2, 1, 32) + Bytes{0x00, 1, 2, 3, 4, 0x05, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->pixels.size(), 8u);
    EXPECT_EQ(raw->pixels, (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST(TgaShortFile, MissingPixelsAreZero) {
    const auto raw = decode(header(2, 2, 2, 24) + Bytes{10, 20, 30, 40});
    ASSERT_TRUE(raw);
    EXPECT_EQ(pixel(*raw, 0), (Bytes{30, 20, 10}));
    EXPECT_EQ(pixel(*raw, 2), (Bytes{0, 0, 0}));
    EXPECT_EQ(pixel(*raw, 3), (Bytes{0, 0, 0}));

    const auto wide = decode(header(2, 3, 1, 16) + Bytes{0xFF, 0x7F, 0xFF});
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->pixels, (Bytes{248, 248, 248, 0, 0, 0, 0, 0, 0}));

    // Ends inside a packet's pixel: the pixel is not read, however few of
    // its bytes are missing. The bytes are handed over in a block of exactly
    // their size, so that a byte read past them is a sanitizer's report too.
    const struct {
        const char* what;
        Bytes file;
        Bytes pixels;
    } packets[] = {
        {"raw, a pixel and one byte",
         header(10, 4, 1, 24) + Bytes{0x02, 1, 2, 3, 4},
         {3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"raw, one byte short", header(10, 2, 1, 24) + Bytes{0x01, 1, 2, 3, 4, 5}, {3, 2, 1, 0, 0, 0}},
        {"raw, one byte short at 32 bits", header(10, 1, 1, 32) + Bytes{0x00, 1, 2, 3}, Bytes(4, 0)},
        {"run, two bytes short", header(10, 2, 1, 32) + Bytes{0x81, 1, 2}, Bytes(8, 0)},
        {"run, one byte short", header(10, 2, 1, 32) + Bytes{0x81, 1, 2, 3}, Bytes(8, 0)},
        {"run, one byte short at 24 bits", header(10, 2, 1, 24) + Bytes{0x81, 1, 2}, Bytes(6, 0)},
        {"run after a pixel, one byte short",
         header(10, 3, 1, 24) + Bytes{0x00, 7, 8, 9, 0x81, 1, 2},
         {9, 8, 7, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : packets) {
        const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[c.file.size()]);
        std::copy(c.file.begin(), c.file.end(), exact.get());
        const auto image = decodeTga(exact.get(), c.file.size());
        ASSERT_TRUE(image) << c.what;
        EXPECT_EQ(image->pixels, c.pixels) << c.what;
    }

    // The ID field runs past the end: a picture with nothing in it.
    const auto noData = decode(header(2, 1, 1, 32, 200));
    ASSERT_TRUE(noData);
    EXPECT_EQ(noData->pixels, Bytes(4, 0));
}

TEST(TgaDecode, FilesOutsideTheSubsetGiveNoImage) {
    EXPECT_FALSE(decode(header(2, 1, 1, 8) + Bytes{1}));                   // grey
    EXPECT_FALSE(decode(header(2, 1, 1, 15) + Bytes{1, 2}));               // odd depth
    EXPECT_FALSE(decode(header(10, 1, 1, 16) + Bytes{0, 1, 2}));           // run-length at 16 bits
    EXPECT_FALSE(decode(header(10, 1, 1, 8) + Bytes{0, 1}));               // run-length grey
    EXPECT_FALSE(decode(header(2, 0, 1, 24) + Bytes{1, 2, 3}));            // no columns
    EXPECT_FALSE(decode(header(10, 4, 0, 32) + Bytes{0x83, 1, 2, 3, 4}));  // no rows
    EXPECT_FALSE(decode(Bytes(17, 0)));                                    // header cut short
    EXPECT_FALSE(decode(Bytes{}));
    // Sizes whose pixel buffer does not fit the 32-bit sizes of the upload.
    EXPECT_FALSE(decode(header(2, 65535, 65535, 32)));
    EXPECT_FALSE(decode(header(10, 65535, 32768, 24)));
}

namespace {

struct RealTga {
    const char* file;
    const char* reference;
    bool storedBottomUp;  // the reference is upright, our rows stay in file order
    int components;
    int tolerance;  // 16-bit files: a shift of 3 against the reference's own expansion
};

const RealTga kRealFiles[] = {
    {"pillow/200x32_rgb_bl_raw.tga", "pillow/200x32_rgb.png", true, 3, 0},
    {"pillow/200x32_rgb_bl_rle.tga", "pillow/200x32_rgb.png", true, 3, 0},
    {"pillow/200x32_rgb_tl_rle.tga", "pillow/200x32_rgb.png", false, 3, 0},
    {"pillow/200x32_rgb_tl_raw.tga", "pillow/200x32_rgb.png", false, 3, 0},
    {"pillow/200x32_rgba_bl_raw.tga", "pillow/200x32_rgba.png", true, 4, 0},
    {"pillow/200x32_rgba_bl_rle.tga", "pillow/200x32_rgba.png", true, 4, 0},
    {"pillow/200x32_rgba_tl_raw.tga", "pillow/200x32_rgba.png", false, 4, 0},
    {"pillow/200x32_rgba_tl_rle.tga", "pillow/200x32_rgba.png", false, 4, 0},
    {"gdk-pixbuf/gtk-logo-rle-32bpp-top-left.tga", "gdk-pixbuf/gtk-logo.png", false, 4, 0},
    {"gdk-pixbuf/gtk-logo-32bpp-bottom-left.tga", "gdk-pixbuf/gtk-logo.png", true, 4, 0},
    {"gdk-pixbuf/gtk-logo-24bpp-top-left.tga", "gdk-pixbuf/gtk-logo-opaque.png", false, 3, 0},
    {"gdk-pixbuf/gtk-logo-16bpp-bottom-left.tga", "gdk-pixbuf/gtk-logo-16bpp.png", true, 3, 7},
    {"image-rs/top_left.tga", "image-rs/top_left.tga.png", false, 4, 0},
    {"image-rs/bottom_left.tga", "image-rs/bottom_left.tga.png", true, 4, 0},
    {"image-rs/b5-noattrib.tga", "image-rs/b5-noattrib.tga.png", false, 3, 7},
    {"image-rs/b5-attrib.tga", "image-rs/b5-attrib.tga.png", false, 3, 7},
    {"kimageformats/rgb.tga", "kimageformats/rgb.png", false, 3, 0},
    {"kimageformats/rgb-gimp-2.8.10-rle-top-left.tga", "kimageformats/rgb-gimp-2.8.10-rle-top-left.png", false, 3, 0},
    {"kimageformats/rgb16.tga", "kimageformats/rgb16.png", false, 3, 7},
};

}  // namespace

TEST(TgaRealFiles, MatchTheirReferencesPixelByPixel) {
    SKIP_WITHOUT_TESTDATA();
    for (const RealTga& real : kRealFiles) {
        SCOPED_TRACE(real.file);
        const Bytes file = readBytes(testDataPath(std::string("tga/") + real.file));
        const auto image = decodeTga(file.data(), file.size());
        const auto reference = readPng(testDataPath(std::string("tga/") + real.reference));
        ASSERT_TRUE(image);
        ASSERT_EQ(image->components, real.components);
        ASSERT_EQ(image->width, reference.width);
        ASSERT_EQ(image->height, reference.height);
        int worst = 0;
        int mismatches = 0;
        for (int y = 0; y < image->height; ++y) {
            const int referenceRow = real.storedBottomUp ? image->height - 1 - y : y;
            for (int x = 0; x < image->width; ++x) {
                const std::uint8_t* ours =
                    image->pixels.data() + (static_cast<std::size_t>(y) * image->width + x) * image->components;
                const std::uint8_t* theirs = reference.at(x, referenceRow);
                for (int c = 0; c < image->components; ++c) {
                    const int difference = std::abs(ours[c] - theirs[c]);
                    worst = std::max(worst, difference);
                    if (difference > real.tolerance) ++mismatches;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "largest difference " << worst;
    }
}

TEST(TgaRealFiles, GreyAndColourMappedFilesAreRefused) {
    SKIP_WITHOUT_TESTDATA();
    for (const char* name : {"pillow/1x1_l_bl_rle.tga", "pillow/1x1_l_tl_raw.tga", "pillow/200x32_l_bl_raw.tga",
                             "pillow/200x32_l_tl_rle.tga", "pillow/200x32_p_bl_raw.tga", "pillow/200x32_p_tl_rle.tga",
                             "image-rs/cmap_offset.tga"}) {
        const Bytes file = readBytes(testDataPath(std::string("tga/") + name));
        ASSERT_FALSE(file.empty()) << name;
        EXPECT_FALSE(decodeTga(file.data(), file.size())) << name;
    }
}

TEST(TgaRealFiles, IdFieldAndOddSizesDecodeWhole) {
    SKIP_WITHOUT_TESTDATA();
    // Reading the ID text "foobar" as pixels would give different first pixels.
    const Bytes idFile = readBytes(testDataPath("tga/pillow/tga_id_field.tga"));
    const auto withId = decodeTga(idFile.data(), idFile.size());
    ASSERT_TRUE(withId);
    EXPECT_EQ(withId->width, 100);
    const Bytes expectedFirst{idFile[26], idFile[25], idFile[24]};
    ASSERT_NE(expectedFirst, (Bytes{idFile[20], idFile[19], idFile[18]}));
    EXPECT_EQ(pixel(*withId, 0), expectedFirst);

    const Bytes dock = readBytes(testDataPath("tga/tacent/Dock317x177.tga"));
    const auto odd = decodeTga(dock.data(), dock.size());
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->width, 317);
    EXPECT_EQ(odd->height, 177);
    // The last stored pixel comes from the last three bytes of pixel data.
    const std::size_t end = 18 + 317u * 177u * 3u;
    ASSERT_LE(end, dock.size());
    EXPECT_EQ(Bytes(odd->pixels.end() - 3, odd->pixels.end()), (Bytes{dock[end - 1], dock[end - 2], dock[end - 3]}));
}
