#include "pack/pictures/PictureFiles.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <zlib.h>
#include <cstddef>
#include <cstdio>

#include <fstream>
#include <stdexcept>

void writeJpg(const std::filesystem::path& path, const Canvas& canvas, int quality) {
    const std::vector<std::uint8_t> rgb = canvas.toBytes(3);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path.string());
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(canvas.width());
    info.image_height = static_cast<JDIMENSION>(canvas.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    // Full-resolution colour: red and blue lettering edges stay crisp.
    for (int c = 0; c < 3; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowSize = static_cast<std::size_t>(canvas.width()) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(rgb.data() + info.next_scanline * rowSize);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::uint8_t> encodeRunLengthTga(const std::vector<std::uint8_t>& rgba, int width, int height) {
    std::vector<std::uint8_t> out(18, 0);
    out[2] = 10;
    out[12] = static_cast<std::uint8_t>(width & 0xFF);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height & 0xFF);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = 32;
    out[17] = 0x28;  // 8 alpha bits, top-left origin

    auto pixel = [&](int x, int y) { return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4; };
    auto same = [&](int x, int y) {
        const std::uint8_t* a = pixel(x, y);
        const std::uint8_t* b = pixel(x + 1, y);
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
    };
    auto put = [&](const std::uint8_t* p) { out.insert(out.end(), {p[2], p[1], p[0], p[3]}); };

    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 128 && same(x + run - 1, y)) ++run;
            if (run > 1) {
                out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
                put(pixel(x, y));
                x += run;
                continue;
            }
            // Raw packet: up to the next pair of equal pixels.
            int count = 1;
            while (x + count < width && count < 128 && !(x + count + 1 < width && same(x + count, y))) ++count;
            out.push_back(static_cast<std::uint8_t>(count - 1));
            for (int i = 0; i < count; ++i) put(pixel(x + i, y));
            x += count;
        }
    }
    return out;
}

void writeRunLengthTga(const std::filesystem::path& path, const Canvas& canvas) {
    const std::vector<std::uint8_t> file = encodeRunLengthTga(canvas.toBytes(4), canvas.width(), canvas.height());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

namespace {

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.insert(out.end(), {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                           static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

// Length, type, data, and the CRC of type and data.
void putChunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::vector<std::uint8_t>& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out,
                 static_cast<std::uint32_t>(::crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

std::vector<std::uint8_t> encodePng(const std::vector<std::uint8_t>& rgba, int width, int height) {
    const std::size_t rowSize = static_cast<std::size_t>(width) * 4;
    if (rgba.size() != rowSize * height) throw std::invalid_argument("encodePng: pixels do not fill the size");
    std::vector<std::uint8_t> rows;
    rows.reserve((rowSize + 1) * height);
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // filter: none
        rows.insert(rows.end(), rgba.begin() + y * rowSize, rgba.begin() + (y + 1) * rowSize);
    }
    uLongf packedSize = ::compressBound(static_cast<uLong>(rows.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (::compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 9) != Z_OK) {
        throw std::runtime_error("encodePng: zlib failed");
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

void writePng(const std::filesystem::path& path, const Canvas& canvas) {
    const std::vector<std::uint8_t> file = encodePng(canvas.toBytes(4), canvas.width(), canvas.height());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}
