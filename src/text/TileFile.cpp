#include "text/TileFile.h"

#include <GL/gl.h>

#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr char kMagic[] = "TileFile";  // compared with its NUL: 9 bytes
constexpr std::int64_t kHeaderSize = sizeof kMagic + 4 + 4;
constexpr std::int64_t kLeadIn = 15;
constexpr std::int64_t kTail = 13;

bool readBytes(std::FILE* file, void* into, std::size_t count) {
    return count == 0 || std::fread(into, 1, count, file) == count;
}

bool readInt32(std::FILE* file, std::int32_t& value) {
    unsigned char b[4];
    if (!readBytes(file, b, sizeof b)) return false;
    const std::uint32_t bits =
        std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
    value = static_cast<std::int32_t>(bits);
    return true;
}

bool skipBytes(std::FILE* file, std::int64_t count) {
    return std::fseek(file, static_cast<long>(count), SEEK_CUR) == 0;
}

// Length of the stream in bytes, or -1; the position is left at the start.
std::int64_t streamSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

// rows * columns * bytesPerPixel when it is at most `room`. Multiplying step
// by step against the room keeps the product from overflowing whatever the
// file claims. The sizes are not negative.
bool pixelBytesWithin(std::int32_t rows, std::int32_t columns, std::int32_t bytesPerPixel, std::int64_t room,
                      std::int64_t& bytes) {
    if (rows == 0 || columns == 0 || bytesPerPixel == 0) {
        bytes = 0;
        return room >= 0;
    }
    std::int64_t product = rows;
    if (product > room) return false;
    for (const std::int32_t factor : {columns, bytesPerPixel}) {
        if (product > room / factor) return false;
        product *= factor;
    }
    bytes = product;
    return true;
}

// The pixel size the texture upload will read for this file's format, or 0
// when the format uploads no image and any tile size is harmless.
std::int32_t uploadBytesPerPixel(std::int32_t pixelFormat) {
    if (pixelFormat == GL_RGB) return 3;
    if (pixelFormat == GL_RGBA) return 4;
    return 0;
}

}  // namespace

bool readTileFileHeader(std::FILE* file, char (&nameBuffer)[kTileNameSize], TileFileHeader& header) {
    std::memset(nameBuffer, 0, sizeof nameBuffer);
    if (file == nullptr || !readBytes(file, nameBuffer, sizeof kMagic)) return false;
    if (std::memcmp(nameBuffer, kMagic, sizeof kMagic) != 0) return false;
    TileFileHeader read;
    if (!readInt32(file, read.headerWord) || !readInt32(file, read.pixelFormat)) return false;
    header = read;
    return true;
}

TileSearch findTile(std::FILE* file, const char* tag, char (&nameBuffer)[kTileNameSize], TileFileHeader& header,
                    Tile& tile) {
    const std::int64_t size = streamSize(file);
    if (size < kHeaderSize || !readTileFileHeader(file, nameBuffer, header)) return TileSearch::Malformed;
    const std::string_view wanted(tag);

    // A record is bad when a field it holds cannot be right, and torn when
    // it is plausible but the file ends before the record does: the file was
    // cut there, and the scan ends as it does after the last whole record.
    std::int64_t remaining = size - kHeaderSize;
    while (remaining > 0) {
        std::int32_t nameLength = 0;
        if (remaining < kLeadIn + 4) return TileSearch::NotFound;
        if (!skipBytes(file, kLeadIn) || !readInt32(file, nameLength)) return TileSearch::Malformed;
        if (nameLength < 1 || nameLength > static_cast<std::int32_t>(kTileNameSize)) return TileSearch::Malformed;
        remaining -= kLeadIn + 4;
        if (nameLength > remaining) return TileSearch::NotFound;
        if (!readBytes(file, nameBuffer, static_cast<std::size_t>(nameLength))) return TileSearch::Malformed;
        if (nameLength < static_cast<std::int32_t>(kTileNameSize)) nameBuffer[nameLength] = '\0';
        // A name field without its NUL still ends at the field's end.
        const std::string_view name(nameBuffer, strnlen(nameBuffer, static_cast<std::size_t>(nameLength)));
        remaining -= nameLength;

        std::int32_t rows = 0, columns = 0, bytesPerPixel = 0;
        if (remaining < 3 * 4) return TileSearch::NotFound;
        if (!readInt32(file, rows) || !readInt32(file, columns) || !readInt32(file, bytesPerPixel)) {
            return TileSearch::Malformed;
        }
        if (rows < 0 || columns < 0 || bytesPerPixel < 0) return TileSearch::Malformed;
        std::int64_t pixelBytes = 0;
        const std::int64_t room = remaining - 3 * 4 - kTail;
        if (!pixelBytesWithin(rows, columns, bytesPerPixel, room, pixelBytes)) return TileSearch::NotFound;
        remaining = room - pixelBytes;

        if (name != wanted) {
            if (!skipBytes(file, pixelBytes + kTail)) return TileSearch::Malformed;
            continue;
        }

        // The upload reads as many bytes per pixel as the file's format
        // says; a tile stored with fewer would be read past its end.
        const std::int32_t needed = uploadBytesPerPixel(header.pixelFormat);
        if (needed != 0 && bytesPerPixel != needed) return TileSearch::Malformed;
        Tile found;
        found.rows = rows;
        found.columns = columns;
        found.bytesPerPixel = bytesPerPixel;
        found.pixels.resize(static_cast<std::size_t>(pixelBytes));
        unsigned char tail[kTail];
        if (!readBytes(file, found.pixels.data(), found.pixels.size()) || !readBytes(file, tail, sizeof tail)) {
            return TileSearch::Malformed;
        }
        tile = std::move(found);
        return TileSearch::Found;
    }
    return TileSearch::NotFound;
}
