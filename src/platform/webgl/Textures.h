// Texture objects: GL 1.1 names over WebGL textures. Every level is kept as
// RGBA8 in WebGL; what GL 1.1 would have made of the internal format (an
// RGB texture's alpha of one) is done when the texels are converted.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace mwgl {

struct AttribState;

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
    // `state` names the bound texture.
    explicit Textures(const AttribState& state) : state(state) {}

    GLuint generateName();
    // The object a name stands for, made on first use as glBindTexture does.
    TextureObject& object(GLuint name);
    TextureObject& bound();

    // Level `level` of the bound texture from tightly packed RGBA8 texels
    // (null leaves them undefined).
    void upload(GLint level, GLint internalFormat, int width, int height, const std::uint8_t* rgba);
    // What a proxy query of `level` answers: the level asked for, or an
    // empty one when it would not fit.
    void setProxy(GLint level, const TextureLevel& answer);
    const TextureLevel* proxyLevel(GLint level) const;
    void setFilter(TextureObject& t, GLenum pname, GLenum value);

    bool boundIsComplete();
    bool boundHasAlpha();
    void bindForDraw();

private:
    void updateCompleteness(TextureObject& t);
    const AttribState& state;
    std::unordered_map<GLuint, TextureObject> objects;
    std::vector<TextureLevel> proxy;
    GLuint nextName = 1;
    unsigned boundWebGl = ~0u;
};

// Whether GL 1.1 takes this internal format, and whether it keeps alpha.
bool isInternalFormat(GLint internalFormat);
bool internalFormatHasAlpha(GLint internalFormat);

}  // namespace mwgl
