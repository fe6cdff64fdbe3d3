#include "pack/font/TileFileWriter.h"

#include <fstream>
#include <stdexcept>

namespace {

void putInt32(std::vector<char>& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

}  // namespace

void writeTileFile(const std::filesystem::path& path, std::int32_t headerWord, std::int32_t pixelFormat,
                   const std::vector<TileImage>& tiles) {
    std::vector<char> out;
    const char magic[] = "TileFile";
    out.insert(out.end(), magic, magic + sizeof magic);
    putInt32(out, headerWord);
    putInt32(out, pixelFormat);

    for (const TileImage& tile : tiles) {
        const std::size_t expected = static_cast<std::size_t>(tile.rows) * tile.columns * tile.bytesPerPixel;
        if (tile.pixels.size() != expected) throw std::logic_error("tile " + tile.name + " has the wrong pixel count");
        out.insert(out.end(), 15, '\0');
        putInt32(out, static_cast<std::int32_t>(tile.name.size() + 1));
        out.insert(out.end(), tile.name.begin(), tile.name.end());
        out.push_back('\0');
        putInt32(out, tile.rows);
        putInt32(out, tile.columns);
        putInt32(out, tile.bytesPerPixel);
        out.insert(out.end(), tile.pixels.begin(), tile.pixels.end());
        out.insert(out.end(), 13, '\0');
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}
