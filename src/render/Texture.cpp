#include "render/Texture.h"

#include <iostream>
#include <memory>
#include <optional>

#include "platform/FatalExit.h"
#include "render/ImageData.h"
#include "render/JpgReader.h"
#include "render/Mipmaps.h"
#include "render/PictureReadAhead.h"
#include "render/TgaReader.h"

namespace {

void setFilters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// Rows are tightly packed; with the default alignment of 4 an RGB picture
// whose width is not a multiple of 4 would be read skewed.
void setTightUnpacking() { glPixelStorei(GL_UNPACK_ALIGNMENT, 1); }

}  // namespace

Texture::Texture() : format(TextureFormat::None) {}

Texture::Texture(const char* fileName, TextureFormat format) : format(format) { load(fileName); }

void Texture::setFormat(TextureFormat newFormat) { format = newFormat; }

void Texture::load(const char* fileName) {
    if (fileName == nullptr) return;

    std::optional<ImageData> image;
    std::shared_ptr<const DecodedPicture> readAhead;
    switch (format) {
    case TextureFormat::None:
        std::cout << "this IS NOT GIVEN A VALID PICTURE FORMAT, SAY EITHER JPG OR TGA WHEN LOADING\n";
        return;
    case TextureFormat::Jpg:
        if (PictureReadAhead* ahead = pictureReadAhead()) readAhead = ahead->take(fileName);
        if (!readAhead) image = loadJpg(fileName);
        break;
    case TextureFormat::Tga:
        image = loadTga(fileName);
        break;
    default:
        return;
    }
    // The reader has already written its message, if the failure has one.
    if (!image && !readAhead) platform::fatalExit("");

    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    setTightUnpacking();
    if (readAhead) {
        const ImageData& picture = readAhead->image;
        buildMipmaps(3, picture.width, picture.height, GL_RGB, picture.pixels.data(), &readAhead->levels);
    } else if (format == TextureFormat::Jpg) {
        buildMipmaps(3, image->width, image->height, GL_RGB, image->pixels.data());
    } else {
        buildMipmaps(image->components, image->width, image->height, image->components == 4 ? GL_RGBA : GL_RGB,
                     image->pixels.data());
    }
    setFilters();
}

void Texture::buildFromMemory(const unsigned char* pixels, GLenum pixelFormat, int width, int height) {
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    setTightUnpacking();
    if (pixelFormat == GL_RGBA || pixelFormat == GL_RGB) buildMipmaps(4, width, height, pixelFormat, pixels);
    setFilters();
}

void Texture::bind() const {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
}

void Texture::unbind() const { glDisable(GL_TEXTURE_2D); }
