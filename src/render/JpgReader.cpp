#include "render/JpgReader.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <climits>
#include <cstdio>
#include <iostream>
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

}  // namespace

std::optional<ImageData> loadJpg(const char* fileName) {
    std::FILE* file = platform::openDataFile(fileName, "rb");
    if (file == nullptr) {
        reportUnreadable();
        return std::nullopt;
    }

    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!convertibleToRgb(info.jpeg_color_space) || !fitsInBuffer(info)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        reportUnreadable();
        return std::nullopt;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    ImageData image;
    image.components = static_cast<std::int32_t>(info.output_components);
    image.width = static_cast<std::int32_t>(info.output_width);
    image.height = static_cast<std::int32_t>(info.output_height);
    const std::size_t rowSize = static_cast<std::size_t>(info.output_width) * info.output_components;
    image.pixels.resize(rowSize * info.output_height);
    std::vector<JSAMPROW> rows(info.output_height);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = image.pixels.data() + i * rowSize;

    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, rows.data() + info.output_scanline, info.output_height - info.output_scanline);
    }

    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return image;
}
