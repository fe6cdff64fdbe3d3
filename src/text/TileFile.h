// Reader for the TileFile format the font is stored in: "TileFile" and a NUL,
// two header words, then named tiles back to back. It works on any stdio
// stream and trusts no size it reads: a record that does not fit the file is
// never read into memory, so a damaged file can only end a lookup, never
// corrupt memory. A file cut inside a record ends the scan as if that record
// were not there. Printing and exiting is the caller's job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// Room for a record's name field, its NUL included.
constexpr std::size_t kTileNameSize = 256;

struct TileFileHeader {
    std::int32_t headerWord = 0;
    std::int32_t pixelFormat = 0;  // GL_RGB or GL_RGBA for every tile of the file
};

struct Tile {
    std::int32_t rows = 0;
    std::int32_t columns = 0;
    std::int32_t bytesPerPixel = 0;
    std::vector<unsigned char> pixels;  // rows of columns pixels, top row first
};

enum class TileSearch {
    Found,
    NotFound,   // no whole record carries the tag; the file may end inside a last, torn one
    Malformed,  // a header or a record with a field that cannot be right, or a failing stream
};

// Reads the 17-byte header at the stream's position. The 9 magic bytes land
// in `nameBuffer` (the rest of it is cleared). False unless the whole header
// is there and starts with "TileFile" and its NUL.
bool readTileFileHeader(std::FILE* file, char (&nameBuffer)[kTileNameSize], TileFileHeader& header);

// Scans from the start of the file (the header is read again into `header`)
// for the first record named `tag`, compared exactly. Pixels of other
// records are seeked over, not read. On Found the stream is left just after
// the matching record. `nameBuffer` holds the last name read.
TileSearch findTile(std::FILE* file, const char* tag, char (&nameBuffer)[kTileNameSize], TileFileHeader& header,
                    Tile& tile);
