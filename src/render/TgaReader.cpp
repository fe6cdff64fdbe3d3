#include "render/TgaReader.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iostream>
#include <utility>
#include <vector>

#include "platform/DataPath.h"

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr int kRunLengthTrueColour = 10;

// A cursor over the file image that refuses to read past its end.
class ByteReader {
public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    std::size_t remaining() const { return size_ - offset_; }
    const std::uint8_t* at() const { return bytes_ + offset_; }
    void skip(std::size_t count) { offset_ += count < remaining() ? count : remaining(); }

    bool readByte(std::uint8_t& value) {
        if (remaining() < 1) return false;
        value = bytes_[offset_++];
        return true;
    }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

std::uint16_t littleEndian16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// File pixels are B, G, R(, A); memory pixels R, G, B(, A).
void storePixel(const std::uint8_t* filePixel, int components, std::uint8_t* out) {
    out[0] = filePixel[2];
    out[1] = filePixel[1];
    out[2] = filePixel[0];
    if (components == 4) out[3] = filePixel[3];
}

void decodeRunLength(ByteReader& in, ImageData& image) {
    const int components = image.components;
    const std::size_t total = static_cast<std::size_t>(image.width) * image.height;
    std::uint8_t* out = image.pixels.data();
    std::size_t stored = 0;
    while (stored < total) {
        std::uint8_t header = 0;
        if (!in.readByte(header)) return;
        const bool run = header >= 128;
        std::size_t count = run ? header - 127u : header + 1u;
        if (count > total - stored) count = total - stored;  // a packet past the last pixel is cut off
        if (run) {
            if (in.remaining() < static_cast<std::size_t>(components)) return;
            const std::uint8_t* pixel = in.at();
            for (std::size_t i = 0; i < count; ++i, out += components) storePixel(pixel, components, out);
            in.skip(components);
        } else {
            for (std::size_t i = 0; i < count; ++i, out += components) {
                if (in.remaining() < static_cast<std::size_t>(components)) return;
                storePixel(in.at(), components, out);
                in.skip(components);
            }
        }
        stored += count;
    }
}

void decodeRaw(ByteReader& in, ImageData& image) {
    const std::size_t size = image.pixels.size();
    const std::size_t available = in.remaining() < size ? in.remaining() : size;
    std::copy(in.at(), in.at() + available, image.pixels.begin());
    for (std::size_t i = 0; i + 2 < size; i += image.components) std::swap(image.pixels[i], image.pixels[i + 2]);
}

void decode16(ByteReader& in, ImageData& image) {
    const std::size_t total = static_cast<std::size_t>(image.width) * image.height;
    std::uint8_t* out = image.pixels.data();
    for (std::size_t i = 0; i < total && in.remaining() >= 2; ++i, out += 3) {
        const std::uint16_t v = littleEndian16(in.at());
        in.skip(2);
        out[0] = static_cast<std::uint8_t>(((v >> 10) & 31) << 3);
        out[1] = static_cast<std::uint8_t>(((v >> 5) & 31) << 3);
        out[2] = static_cast<std::uint8_t>((v & 31) << 3);
    }
}

}  // namespace

std::optional<ImageData> decodeTga(const std::uint8_t* bytes, std::size_t size) {
    if (size < kHeaderSize) return std::nullopt;
    const int idLength = bytes[0];
    const int imageType = bytes[2];
    const int width = littleEndian16(bytes + 12);
    const int height = littleEndian16(bytes + 14);
    const int depth = bytes[16];

    const bool runLength = imageType == kRunLengthTrueColour;
    const bool supported = runLength ? (depth == 24 || depth == 32) : (depth == 16 || depth == 24 || depth == 32);
    if (!supported || width == 0 || height == 0) return std::nullopt;

    ImageData image;
    image.components = depth == 16 ? 3 : depth / 8;
    image.width = width;
    image.height = height;
    // The buffer size and the upload take 32-bit sizes.
    const long long bufferSize = static_cast<long long>(width) * height * image.components;
    if (bufferSize > INT_MAX) return std::nullopt;
    image.pixels.assign(static_cast<std::size_t>(bufferSize), 0);

    ByteReader in(bytes, size);
    in.skip(kHeaderSize + idLength);
    if (runLength) {
        decodeRunLength(in, image);
    } else if (depth == 16) {
        decode16(in, image);
    } else {
        decodeRaw(in, image);
    }
    return image;
}

std::optional<ImageData> loadTga(const char* fileName) {
    const std::optional<std::vector<std::uint8_t>> bytes = platform::readDataFile(fileName);
    if (!bytes) {
        std::cout << "Unable to load TGA File!Error, MB_OK";
        return std::nullopt;
    }
    return decodeTga(bytes->data(), bytes->size());
}
