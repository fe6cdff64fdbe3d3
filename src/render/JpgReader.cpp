#include "render/JpgReader.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <iostream>
#include <optional>
#include <vector>

#include <jpeglib.h>

#include "platform/DataPath.h"

namespace {

void reportUnreadable() { std::cout << "Unable to load JPG File!" << std::endl; }

// Colour spaces libjpeg can render as RGB. CMYK and YCCK cannot be, and
// the upload always reads three bytes per pixel.
bool convertibleToRgb(J_COLOR_SPACE space) { return space == JCS_GRAYSCALE || space == JCS_YCbCr || space == JCS_RGB; }

// The pixel buffer and the upload take 32-bit sizes.
bool fitsInBuffer(const jpeg_decompress_struct& info) {
    return static_cast<unsigned long long>(info.image_width) * info.image_height * 3 <= INT_MAX;
}

// One decoding, its source already set. Everything that outlives a jump out
// of libjpeg lives here, outside the frames the jump leaves.
struct Decoding {
    jpeg_decompress_struct info{};
    ImageData image;
    std::vector<JSAMPROW> rows;
};

// The standard sequence from the header to the last row. False, with nothing
// decoded, when the picture has no RGB rendering or is too large.
bool readPixels(Decoding& d) {
    jpeg_decompress_struct& info = d.info;
    jpeg_read_header(&info, TRUE);
    if (!convertibleToRgb(info.jpeg_color_space) || !fitsInBuffer(info)) return false;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    d.image.components = static_cast<std::int32_t>(info.output_components);
    d.image.width = static_cast<std::int32_t>(info.output_width);
    d.image.height = static_cast<std::int32_t>(info.output_height);
    const std::size_t rowSize = static_cast<std::size_t>(info.output_width) * info.output_components;
    d.image.pixels.resize(rowSize * info.output_height);
    d.rows.resize(info.output_height);
    for (std::size_t i = 0; i < d.rows.size(); ++i) d.rows[i] = d.image.pixels.data() + i * rowSize;

    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, d.rows.data() + info.output_scanline, info.output_height - info.output_scanline);
    }
    jpeg_finish_decompress(&info);
    return true;
}

// libjpeg's errors and warnings, turned into a jump back to the caller.
struct QuietErrors {
    jpeg_error_mgr manager;  // first: libjpeg hands back a pointer to it
    std::jmp_buf escape;
};

[[noreturn]] void escape(j_common_ptr info) { std::longjmp(reinterpret_cast<QuietErrors*>(info->err)->escape, 1); }

void escapeOnWarning(j_common_ptr info, int level) {
    if (level < 0) escape(info);
}

// readPixels, with every error or warning making it false. Kept apart so
// that the only frames the jump leaves hold nothing to destroy.
__attribute__((noinline)) bool readPixelsQuietly(Decoding& d, QuietErrors& errors) {
    if (setjmp(errors.escape) != 0) return false;
    return readPixels(d);
}

}  // namespace

std::optional<ImageData> loadJpg(const char* fileName) {
    const std::optional<std::vector<std::uint8_t>> bytes = platform::readDataFile(fileName);
    if (!bytes) {
        reportUnreadable();
        return std::nullopt;
    }

    Decoding d;
    jpeg_error_mgr errors{};
    d.info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, bytes->data(), static_cast<unsigned long>(bytes->size()));
    const bool decoded = readPixels(d);
    jpeg_destroy_decompress(&d.info);
    if (!decoded) {
        reportUnreadable();
        return std::nullopt;
    }
    return std::move(d.image);
}

std::optional<ImageData> decodeJpgQuietly(const char* fileName) {
    // This may still run on another thread while the process ends.
    const std::optional<std::vector<std::uint8_t>> bytes = platform::readDataFile(fileName);
    if (!bytes || bytes->empty()) return std::nullopt;

    Decoding d;
    QuietErrors errors{};
    d.info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = escape;
    errors.manager.emit_message = escapeOnWarning;
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, bytes->data(), static_cast<unsigned long>(bytes->size()));
    const bool decoded = readPixelsQuietly(d, errors);
    jpeg_destroy_decompress(&d.info);
    if (!decoded) return std::nullopt;
    return std::move(d.image);
}
