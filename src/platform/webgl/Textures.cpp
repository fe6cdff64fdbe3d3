#include "platform/webgl/Textures.h"

#include <algorithm>

#include "platform/webgl/State.h"
#include "platform/webgl/WebGl.h"

namespace mwgl {

bool isInternalFormat(GLint f) {
    return f == 3 || f == 4 || f == GL_RGB || f == GL_RGBA || f == GL_RGB8 || f == GL_RGBA8;
}

bool internalFormatHasAlpha(GLint f) { return f == 4 || f == GL_RGBA || f == GL_RGBA8; }

GLuint Textures::generateName() {
    while (objects.count(nextName) != 0) ++nextName;
    const GLuint name = nextName++;
    object(name);
    return name;
}

TextureObject& Textures::object(GLuint name) {
    auto found = objects.find(name);
    if (found != objects.end()) return found->second;
    TextureObject& t = objects[name];
    emscripten_glGenTextures(1, &t.webgl);
    emscripten_glBindTexture(wgl::TEXTURE_2D, t.webgl);
    boundWebGl = t.webgl;
    emscripten_glTexParameteri(wgl::TEXTURE_2D, wgl::TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR);
    emscripten_glTexParameteri(wgl::TEXTURE_2D, wgl::TEXTURE_MAG_FILTER, GL_LINEAR);
    return t;
}

TextureObject& Textures::bound() { return object(state.boundTexture); }

void Textures::upload(GLint level, GLint internalFormat, int width, int height, const std::uint8_t* rgba) {
    TextureObject& t = bound();
    if (t.levels.size() <= static_cast<std::size_t>(level)) t.levels.resize(level + 1);
    t.levels[level] = TextureLevel{width, height, internalFormat};
    emscripten_glBindTexture(wgl::TEXTURE_2D, t.webgl);
    boundWebGl = t.webgl;
    emscripten_glPixelStorei(wgl::UNPACK_ALIGNMENT, 1);
    emscripten_glTexImage2D(wgl::TEXTURE_2D, level, wgl::RGBA8, width, height, 0, wgl::RGBA, wgl::UNSIGNED_BYTE, rgba);
    updateCompleteness(t);
}

void Textures::setProxy(GLint level, const TextureLevel& answer) {
    if (proxy.size() <= static_cast<std::size_t>(level)) proxy.resize(level + 1);
    proxy[level] = answer;
}

const TextureLevel* Textures::proxyLevel(GLint level) const {
    static const TextureLevel none;
    return static_cast<std::size_t>(level) < proxy.size() ? &proxy[level] : &none;
}

void Textures::setFilter(TextureObject& t, GLenum pname, GLenum value) {
    if (pname == GL_TEXTURE_MIN_FILTER) {
        t.minFilter = value;
    } else {
        t.magFilter = value;
    }
    emscripten_glBindTexture(wgl::TEXTURE_2D, t.webgl);
    boundWebGl = t.webgl;
    emscripten_glTexParameteri(wgl::TEXTURE_2D,
                               pname == GL_TEXTURE_MIN_FILTER ? wgl::TEXTURE_MIN_FILTER : wgl::TEXTURE_MAG_FILTER,
                               static_cast<int>(value));
    updateCompleteness(t);
}

void Textures::updateCompleteness(TextureObject& t) {
    // GL 1.1: without a complete set of levels a texture is as if texturing
    // were off, where WebGL would sample black instead.
    t.complete = false;
    t.hasAlpha = false;
    if (t.levels.empty() || t.levels[0].width <= 0 || t.levels[0].height <= 0) return;
    const TextureLevel& base = t.levels[0];
    t.hasAlpha = internalFormatHasAlpha(base.internalFormat);
    const bool mipmapped = t.minFilter != GL_NEAREST && t.minFilter != GL_LINEAR;
    if (!mipmapped) {
        t.complete = true;
        return;
    }
    int w = base.width, h = base.height;
    for (std::size_t i = 1;; ++i) {
        if (w == 1 && h == 1) break;
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
        if (i >= t.levels.size()) return;
        const TextureLevel& l = t.levels[i];
        if (l.width != w || l.height != h || internalFormatHasAlpha(l.internalFormat) != t.hasAlpha) return;
    }
    t.complete = true;
}

bool Textures::boundIsComplete() { return bound().complete; }
bool Textures::boundHasAlpha() { return bound().hasAlpha; }

void Textures::bindForDraw() {
    const TextureObject& t = bound();
    if (boundWebGl != t.webgl) {
        emscripten_glBindTexture(wgl::TEXTURE_2D, t.webgl);
        boundWebGl = t.webgl;
    }
}

}  // namespace mwgl
