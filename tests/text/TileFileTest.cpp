#include "text/TileFile.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "CountingStream.h"
#include "TileFileBytes.h"

using testsupport::CountingStream;
using testsupport::TileFileBytes;

namespace {

struct Lookup {
    TileSearch result;
    Tile tile;
    TileFileHeader header;
};

Lookup find(CountingStream& stream, const char* tag) {
    char nameBuffer[kTileNameSize];
    Lookup lookup{TileSearch::NotFound, {}, {}};
    lookup.result = findTile(stream.file(), tag, nameBuffer, lookup.header, lookup.tile);
    return lookup;
}

Lookup find(const std::vector<unsigned char>& bytes, const char* tag) {
    CountingStream stream(bytes);
    return find(stream, tag);
}

}  // namespace

TEST(TileFileLookup, TagsCompareExactly) {
    const auto bytes = TileFileBytes().tile("ab", 1, 1, 4, 1).tile("a", 1, 1, 4, 2).bytes;
    EXPECT_EQ(find(bytes, "A").result, TileSearch::NotFound);  // no case folding
    EXPECT_EQ(find(bytes, "b").result, TileSearch::NotFound);
    EXPECT_EQ(find(bytes, "").result, TileSearch::NotFound);
    const Lookup a = find(bytes, "a");
    ASSERT_EQ(a.result, TileSearch::Found);
    EXPECT_EQ(a.tile.pixels[0], 2);  // not the "ab" record
    EXPECT_EQ(find(TileFileBytes().bytes, "a").result, TileSearch::NotFound);
}

TEST(TileFileLookup, EachLookupRescansFromTheStartAfterAMiss) {
    const auto bytes = TileFileBytes().tile("a", 1, 1, 4, 1).tile("b", 1, 1, 4, 2).bytes;
    CountingStream stream(bytes);
    EXPECT_EQ(find(stream, "z").result, TileSearch::NotFound);  // leaves the stream at its end
    const Lookup b = find(stream, "b");
    ASSERT_EQ(b.result, TileSearch::Found);
    EXPECT_EQ(b.tile.pixels[0], 2);
    const Lookup a = find(stream, "a");
    ASSERT_EQ(a.result, TileSearch::Found);
    EXPECT_EQ(a.tile.pixels[0], 1);
}

TEST(TileFileLookup, TilesBehindLargeOnesAreFoundWithoutReadingTheirPixels) {
    TileFileBytes file;
    constexpr int kLarge = 5;
    for (int i = 0; i < kLarge; ++i) file.tile("banner" + std::to_string(i), 256, 256, 4, 0x40);
    file.tile("7", 4, 4, 4, 0x77);
    CountingStream stream(file.bytes);

    const Lookup seven = find(stream, "7");

    ASSERT_EQ(seven.result, TileSearch::Found);
    EXPECT_EQ(seven.tile.pixels, std::vector<unsigned char>(64, 0x77));
    // The header, each large record's name length, name and sizes, and the
    // whole of the tile found: nothing of the 1.3 MB of large pixels.
    const std::uint64_t headers = 17 + kLarge * (4 + 8 + 12) + (4 + 2 + 12);
    EXPECT_LE(stream.bytesRead(), headers + 64 + 13 + 15 * (kLarge + 1));
}

TEST(TileFileLookup, NameFieldsUpToTheBufferSizeAreRead) {
    const std::string longest(255, 'n');
    std::string unterminated(256, 'u');
    const auto bytes = TileFileBytes()
                           .tile(longest, 1, 1, 4, 1)
                           .record(unterminated, 256, 1, 1, 4, {2, 2, 2, 2})  // no NUL: the field ends it
                           .record({"z\0junk", 6}, 6, 1, 1, 4, {3, 3, 3, 3})  // the name stops at its NUL
                           .bytes;
    EXPECT_EQ(find(bytes, longest.c_str()).tile.pixels[0], 1);
    const Lookup u = find(bytes, unterminated.c_str());
    ASSERT_EQ(u.result, TileSearch::Found);
    EXPECT_EQ(u.tile.pixels[0], 2);
    const Lookup z = find(bytes, "z");
    ASSERT_EQ(z.result, TileSearch::Found);
    EXPECT_EQ(z.tile.pixels[0], 3);
}

TEST(TileFileLookup, PixelSizeMustSuitTheFileFormatOnlyForTheTileLoaded) {
    const auto rgb = TileFileBytes(GL_RGB).tile("grey", 2, 2, 1, 9).tile("a", 2, 2, 3, 1).tile("b", 2, 2, 4, 2).bytes;
    EXPECT_EQ(find(rgb, "a").result, TileSearch::Found);  // behind a 1-byte tile that is only skipped
    EXPECT_EQ(find(rgb, "b").result, TileSearch::Malformed);
    EXPECT_EQ(find(TileFileBytes(GL_RGBA).tile("a", 2, 2, 3, 1).bytes, "a").result, TileSearch::Malformed);
    // Formats that upload no image read nothing from the pixels.
    EXPECT_EQ(find(TileFileBytes(GL_LUMINANCE).tile("a", 2, 2, 1, 1).bytes, "a").result, TileSearch::Found);
    // Empty tiles are harmless.
    const Lookup empty = find(TileFileBytes().tile("a", 0, 5, 4, 0).bytes, "a");
    ASSERT_EQ(empty.result, TileSearch::Found);
    EXPECT_TRUE(empty.tile.pixels.empty());
}

// A record with a field that cannot be right makes the file bad wherever it
// stands once the scan reaches it. A plausible record that the file ends
// inside was cut short: the scan ends there without a match, its name
// (whole or not) included.
TEST(TileFileLookup, BadRecordsAreRefusedAndATornLastRecordIsNotThere) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const auto rec = [](std::string_view field, std::int32_t length, std::int32_t r, std::int32_t c, std::int32_t b,
                        std::size_t pixelBytes) {
        TileFileBytes bytes;
        bytes.bytes.clear();
        return bytes.record(field, length, r, c, b, std::vector<unsigned char>(pixelBytes, 1)).bytes;
    };
    const auto cut = [](std::vector<unsigned char> record, std::size_t keep) {
        record.resize(keep);
        return record;
    };
    const std::string longName(300, 'm');
    const std::vector<unsigned char> whole = rec({"m\0", 2}, 2, 1, 1, 4, 4);  // 15 + 4 + 2 + 12 + 4 + 13 bytes
    const struct {
        const char* what;
        std::vector<unsigned char> record;
        TileSearch atTheEnd;
    } cases[] = {
        {"name length 0", rec({"", 0}, 0, 1, 1, 4, 4), TileSearch::Malformed},
        {"negative name length", rec({"m\0", 2}, -2, 1, 1, 4, 4), TileSearch::Malformed},
        {"name longer than the buffer", rec(longName, 300, 1, 1, 4, 4), TileSearch::Malformed},
        {"name length beyond the buffer and the file", rec({"m\0", 2}, kMax, 1, 1, 4, 4), TileSearch::Malformed},
        {"negative rows", rec({"m\0", 2}, 2, -1, 1, 4, 4), TileSearch::Malformed},
        {"negative columns", rec({"m\0", 2}, 2, 1, kMin, 4, 4), TileSearch::Malformed},
        {"negative bytes per pixel", rec({"m\0", 2}, 2, 1, 1, -4, 4), TileSearch::Malformed},
        {"torn lead-in", cut(whole, 5), TileSearch::NotFound},
        {"torn name length", cut(whole, 17), TileSearch::NotFound},
        {"torn name", cut(whole, 20), TileSearch::NotFound},
        {"name length past the end", rec({"m\0", 2}, 200, 1, 1, 4, 4), TileSearch::NotFound},
        {"torn sizes", cut(whole, 29), TileSearch::NotFound},
        {"pixels past the end", rec({"m\0", 2}, 2, 64, 64, 4, 100), TileSearch::NotFound},
        {"sizes whose product overflows", rec({"m\0", 2}, 2, kMax, kMax, kMax, 4), TileSearch::NotFound},
        {"tail cut off", cut(whole, whole.size() - 1), TileSearch::NotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto atTheEnd = TileFileBytes().tile("a", 1, 1, 4, 1).raw(c.record).bytes;
        EXPECT_EQ(find(atTheEnd, "a").result, TileSearch::Found) << "records before it still count";
        EXPECT_EQ(find(atTheEnd, "b").result, c.atTheEnd);
        EXPECT_EQ(find(atTheEnd, "m").result, c.atTheEnd);
        if (c.atTheEnd == TileSearch::Malformed) {
            const auto before = TileFileBytes().raw(c.record).tile("a", 1, 1, 4, 1).bytes;
            EXPECT_EQ(find(before, "a").result, TileSearch::Malformed) << "cannot be skipped";
        }
    }
}
