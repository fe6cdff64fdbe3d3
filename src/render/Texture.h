// One mipmapped OpenGL texture, read from a JPG or TGA file chosen by the
// format code its owner sets, or built from pixels already in memory.
// Textures are never deleted: they live until the process ends.
#pragma once

#include <GL/gl.h>

#include <cstdint>

enum class TextureFormat : std::int32_t { None = 0, Jpg = 1, Tga = 2 };

class Texture {
public:
    Texture();
    Texture(const char* fileName, TextureFormat format);

    void setFormat(TextureFormat format);
    // Reads the file by the stored format and leaves the new texture bound.
    // A file that cannot be read ends the process with the reader's message.
    void load(const char* fileName);
    // pixelFormat GL_RGBA or GL_RGB; the internal format is RGBA either way.
    void buildFromMemory(const unsigned char* pixels, GLenum pixelFormat, int width, int height);

    void bind() const;    // enables texturing and binds
    void unbind() const;  // disables texturing; the binding stays

    GLuint getName() const { return name; }
    TextureFormat getFormat() const { return format; }

private:
    GLuint name = 0;
    TextureFormat format;
};
