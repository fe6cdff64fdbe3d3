// Builds TileFile bytes field by field, written straight from the format's
// layout (and not through the data-pack writer), so the reader is checked
// against the format rather than against a second copy of itself. Damaged
// records are made by declaring fields that disagree with what follows.
#pragma once

#include <GL/gl.h>
#include <stdio.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class TileFileBytes {
public:
    explicit TileFileBytes(std::int32_t pixelFormat = GL_RGBA, std::int32_t headerWord = 1) {
        append("TileFile", 9);  // with its NUL
        int32(headerWord);
        int32(pixelFormat);
    }

    // A well-formed record; every pixel byte is `fill`.
    TileFileBytes& tile(const std::string& name, std::int32_t rows, std::int32_t columns, std::int32_t bytesPerPixel,
                        unsigned char fill) {
        return record(std::string_view(name.c_str(), name.size() + 1), static_cast<std::int32_t>(name.size() + 1), rows,
                      columns, bytesPerPixel,
                      std::vector<unsigned char>(static_cast<std::size_t>(rows * columns * bytesPerPixel), fill));
    }

    // A record with every field given: `nameField` is written as is,
    // `nameLength` is what the record declares.
    TileFileBytes& record(std::string_view nameField, std::int32_t nameLength, std::int32_t rows, std::int32_t columns,
                          std::int32_t bytesPerPixel, const std::vector<unsigned char>& pixels) {
        bytes.insert(bytes.end(), 15, 0xA5);  // lead-in: any content
        int32(nameLength);
        append(nameField.data(), nameField.size());
        int32(rows);
        int32(columns);
        int32(bytesPerPixel);
        bytes.insert(bytes.end(), pixels.begin(), pixels.end());
        bytes.insert(bytes.end(), 13, 0x5A);  // tail: any content
        return *this;
    }

    TileFileBytes& raw(const std::vector<unsigned char>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }

    TileFileBytes& int32(std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(v >> shift));
        return *this;
    }

    // Writes the bytes to `path` (the font's file name in a test directory).
    void writeTo(const std::string& path) const {
        FILE* file = fopen(path.c_str(), "wb");
        if (file == nullptr) return;
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }

    std::vector<unsigned char> bytes;

private:
    void append(const char* data, std::size_t size) { bytes.insert(bytes.end(), data, data + size); }
};

}  // namespace testsupport
