// Texture objects: GL 1.1 names over WebGL textures. Every level is kept as
// RGBA8 in WebGL; what GL 1.1 would have made of the internal format (an
// RGB texture's alpha of one) is done when the texels are converted.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace mwgl {

struct TextureLevel {
    int width = 0, height = 0;
    GLint internalFormat = 0;
};

struct TextureObject {
    unsigned webgl = 0;
    std::vector<TextureLevel> levels;
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;
    GLenum magFilter = GL_LINEAR;
    bool complete = false;
    bool hasAlpha = false;
};

class Textures {
public:
    GLuint generateName();
    // The object a name stands for, made on first use as glBindTexture does.
    TextureObject& object(GLuint name);
    TextureObject& bound();

    // Level `level` of the bound texture from tightly packed RGBA8 texels
    // (null leaves them undefined).
    void upload(GLint level, GLint internalFormat, int width, int height, const std::uint8_t* rgba);
    void setProxy(GLint level, GLint internalFormat, int width, int height);
    const TextureLevel* proxyLevel(GLint level) const;
    void setFilter(TextureObject& t, GLenum pname, GLenum value);

    bool boundIsComplete();
    bool boundHasAlpha();
    void bindForDraw();

private:
    void updateCompleteness(TextureObject& t);
    std::unordered_map<GLuint, TextureObject> objects;
    std::vector<TextureLevel> proxy;
    GLuint nextName = 1;
    unsigned boundWebGl = ~0u;
};

// Whether GL 1.1 takes this internal format, and whether it keeps alpha.
bool isInternalFormat(GLint internalFormat);
bool internalFormatHasAlpha(GLint internalFormat);

}  // namespace mwgl
