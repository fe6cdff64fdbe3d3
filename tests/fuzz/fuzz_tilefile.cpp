// Feeds arbitrary bytes to the TileFile reader as a font file and looks up
// glyph tags and the names the file itself carries. Beyond the sanitizers it
// checks what the loader relies on: a tile found has exactly the pixels its
// sizes promise, and a scan that reads every record whole can find each of
// them again.
#include <stdio.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/TileFile.h"

namespace {

void checkTile(const Tile& tile) {
    const auto expected = static_cast<std::uint64_t>(tile.rows) * static_cast<std::uint64_t>(tile.columns) *
                          static_cast<std::uint64_t>(tile.bytesPerPixel);
    if (tile.rows < 0 || tile.columns < 0 || tile.bytesPerPixel < 0 || tile.pixels.size() != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) return 0;

    char nameBuffer[kTileNameSize];
    TileFileHeader header;
    if (readTileFileHeader(file, nameBuffer, header)) {
        for (const char* tag : {"a", "9", "quillory"}) {
            Tile tile;
            const TileSearch result = findTile(file, tag, nameBuffer, header, tile);
            if (result == TileSearch::Found) checkTile(tile);
            if (result != TileSearch::NotFound) continue;
            // Every record was read whole, so the last name read is there.
            const std::string last(nameBuffer, strnlen(nameBuffer, kTileNameSize));
            if (size <= 17) continue;  // no records at all
            Tile again;
            if (findTile(file, last.c_str(), nameBuffer, header, again) == TileSearch::NotFound) std::abort();
        }
    }
    std::fclose(file);
    return 0;
}
