// Feeds arbitrary bytes to the TileFile reader as a font file and looks up
// glyph tags and a name the file itself carries. Beyond the sanitizers it
// checks what the loader relies on: a tile found has exactly the pixels its
// sizes promise, and cutting the file short never makes it bad: a cut only
// tears the record it falls in, so a lookup that found nothing still finds
// nothing and one that was not refused is still not refused.
#include <stdio.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/TileFile.h"

namespace {

constexpr std::size_t kHeaderSize = 17;

void checkTile(const Tile& tile) {
    const auto expected = static_cast<std::uint64_t>(tile.rows) * static_cast<std::uint64_t>(tile.columns) *
                          static_cast<std::uint64_t>(tile.bytesPerPixel);
    if (tile.rows < 0 || tile.columns < 0 || tile.bytesPerPixel < 0 || tile.pixels.size() != expected) std::abort();
}

// The lookup of `tag` in the first `size` bytes, each time from a fresh stream.
TileSearch lookup(const std::uint8_t* data, std::size_t size, const char* tag, char (&nameBuffer)[kTileNameSize]) {
    FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) std::abort();
    TileFileHeader header;
    Tile tile;
    const TileSearch result = findTile(file, tag, nameBuffer, header, tile);
    if (result == TileSearch::Found) checkTile(tile);
    std::fclose(file);
    return result;
}

void checkCuts(const std::uint8_t* data, std::size_t size, const char* tag, TileSearch whole) {
    if (whole == TileSearch::Malformed || size <= kHeaderSize) return;
    char nameBuffer[kTileNameSize];
    for (const std::size_t cut : {size - 1, kHeaderSize + (size - kHeaderSize) / 2}) {
        const TileSearch shorter = lookup(data, cut, tag, nameBuffer);
        if (shorter == TileSearch::Malformed) std::abort();
        if (whole == TileSearch::NotFound && shorter != TileSearch::NotFound) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize) return 0;
    char nameBuffer[kTileNameSize];
    for (const char* tag : {"a", "9", "quillory"}) {
        const TileSearch result = lookup(data, size, tag, nameBuffer);
        checkCuts(data, size, tag, result);
        // The last name the scan read, whole or torn.
        const std::string last(nameBuffer, strnlen(nameBuffer, kTileNameSize));
        checkCuts(data, size, last.c_str(), lookup(data, size, last.c_str(), nameBuffer));
    }
    return 0;
}
