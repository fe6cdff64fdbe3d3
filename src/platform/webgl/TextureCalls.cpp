// The texture entry points: objects, images, filters and the level queries.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/webgl/Context.h"

using namespace mwgl;

namespace {

int componentsOf(GLenum format) { return format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 0; }

// The client's rows, as glPixelStorei's unpack alignment lays them out, as
// tightly packed RGBA8 with alpha one where the internal format has none.
std::vector<std::uint8_t> toRgba(const std::uint8_t* pixels, int width, int height, GLenum format, GLint internalFormat,
                                 int alignment) {
    const int components = componentsOf(format);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
    const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    const bool keepAlpha = components == 4 && internalFormatHasAlpha(internalFormat);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height * 4);
    std::uint8_t* to = out.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = pixels + y * stride;
        for (int x = 0; x < width; ++x, from += components, to += 4) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            to[3] = keepAlpha ? from[3] : 255;
        }
    }
    return out;
}

bool isMinFilter(GLint f) {
    return f == GL_NEAREST || f == GL_LINEAR || f == GL_NEAREST_MIPMAP_NEAREST || f == GL_LINEAR_MIPMAP_NEAREST ||
           f == GL_NEAREST_MIPMAP_LINEAR || f == GL_LINEAR_MIPMAP_LINEAR;
}

void uploadConverted(GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                     std::shared_ptr<const std::vector<std::uint8_t>> rgba) {
    stateChanging();
    ctx().textures.upload(level, internalFormat, width, height, rgba ? rgba->data() : nullptr);
}

}  // namespace

extern "C" {

void glGenTextures(GLsizei n, GLuint* textures) {
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    if (n < 0) return ctx().setError(GL_INVALID_VALUE);
    for (GLsizei i = 0; i < n; ++i) textures[i] = ctx().textures.generateName();
}

void glBindTexture(GLenum target, GLuint texture) {
    MWGL_RECORD(glBindTexture(target, texture));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    if (target != GL_TEXTURE_2D) return ctx().setError(GL_INVALID_ENUM);
    Context& c = ctx();
    if (c.s.boundTexture == texture) return;
    stateChanging();
    c.s.boundTexture = texture;
    const TextureObject& t = c.textures.object(texture);
    c.s.boundMinFilter = t.minFilter;
    c.s.boundMagFilter = t.magFilter;
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels) {
    Context& c = ctx();
    ensureWebGl();
    const bool proxy = target == GL_PROXY_TEXTURE_2D;
    if (!proxy && c.lists.compiling()) {
        // The texels are unpacked when the list is made, with the unpack
        // state of that moment.
        std::shared_ptr<const std::vector<std::uint8_t>> rgba;
        if (pixels != nullptr && componentsOf(format) != 0) {
            rgba = std::make_shared<const std::vector<std::uint8_t>>(toRgba(
                static_cast<const std::uint8_t*>(pixels), width, height, format, internalFormat, c.unpackAlignment));
        }
        c.lists.record([=] {
            if (level < 0 || !isInternalFormat(internalFormat) || componentsOf(format) == 0 ||
                type != GL_UNSIGNED_BYTE || width < 0 || height < 0 || border != 0) {
                return ctx().setError(GL_INVALID_VALUE);
            }
            uploadConverted(level, internalFormat, width, height, rgba);
        });
        return;
    }
    MWGL_NOT_IN_BEGIN_END();
    if (target != GL_TEXTURE_2D && !proxy) return c.setError(GL_INVALID_ENUM);
    if (componentsOf(format) == 0 || type != GL_UNSIGNED_BYTE) return c.setError(GL_INVALID_ENUM);
    if (level < 0 || !isInternalFormat(internalFormat) || width < 0 || height < 0 || border != 0) {
        return c.setError(GL_INVALID_VALUE);
    }
    const int limit = c.maxTextureSize >> level;
    const bool fits = width <= limit && height <= limit;
    if (proxy) return c.textures.setProxy(level, fits ? TextureLevel{width, height, internalFormat} : TextureLevel{});
    if (!fits) return c.setError(GL_INVALID_VALUE);
    std::shared_ptr<const std::vector<std::uint8_t>> rgba;
    if (pixels != nullptr) {
        rgba = std::make_shared<const std::vector<std::uint8_t>>(
            toRgba(static_cast<const std::uint8_t*>(pixels), width, height, format, internalFormat, c.unpackAlignment));
    }
    uploadConverted(level, internalFormat, width, height, rgba);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    MWGL_RECORD(glTexParameteri(target, pname, param));
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (target != GL_TEXTURE_2D) return c.setError(GL_INVALID_ENUM);
    if (pname == GL_TEXTURE_MIN_FILTER) {
        if (!isMinFilter(param)) return c.setError(GL_INVALID_ENUM);
    } else if (pname == GL_TEXTURE_MAG_FILTER) {
        if (param != GL_NEAREST && param != GL_LINEAR) return c.setError(GL_INVALID_ENUM);
    } else {
        return c.setError(GL_INVALID_ENUM);
    }
    TextureObject& t = c.textures.bound();
    if ((pname == GL_TEXTURE_MIN_FILTER ? t.minFilter : t.magFilter) == static_cast<GLenum>(param)) return;
    stateChanging();
    c.textures.setFilter(t, pname, static_cast<GLenum>(param));
    (pname == GL_TEXTURE_MIN_FILTER ? c.s.boundMinFilter : c.s.boundMagFilter) = static_cast<GLenum>(param);
}

void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params) {
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (target != GL_TEXTURE_2D && target != GL_PROXY_TEXTURE_2D) return c.setError(GL_INVALID_ENUM);
    if (level < 0) return c.setError(GL_INVALID_VALUE);
    TextureLevel none;
    const TextureLevel* l = &none;
    if (target == GL_PROXY_TEXTURE_2D) {
        l = c.textures.proxyLevel(level);
    } else {
        const TextureObject& t = c.textures.bound();
        if (static_cast<std::size_t>(level) < t.levels.size()) l = &t.levels[level];
    }
    switch (pname) {
    case GL_TEXTURE_WIDTH:
        *params = l->width;
        break;
    case GL_TEXTURE_HEIGHT:
        *params = l->height;
        break;
    case GL_TEXTURE_INTERNAL_FORMAT:
        *params = l->internalFormat != 0 ? l->internalFormat : 1;
        break;
    default:
        c.setError(GL_INVALID_ENUM);
    }
}

}  // extern "C"
