// The one context: its state and the parts that act on it. Every entry point
// reaches them through ctx().
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/webgl/Batcher.h"
#include "platform/webgl/DisplayLists.h"
#include "platform/webgl/Immediate.h"
#include "platform/webgl/Programs.h"
#include "platform/webgl/State.h"
#include "platform/webgl/Textures.h"

namespace mwgl {

// State that shaders read as uniforms, each with a version counter so that a
// program uploads a group again only after it changed.
enum Group : int {
    GroupProjection,
    GroupModelview,
    GroupTextureMatrix,
    GroupTexGen,
    GroupLights,
    GroupLightModel,
    GroupAlphaRef,
    GroupCount
};

constexpr std::size_t kMaxAttribStackDepth = 16;
constexpr std::size_t kMaxModelviewDepth = 32;
constexpr std::size_t kMaxProjectionDepth = 32;
constexpr std::size_t kMaxTextureDepth = 10;

struct Context {
    AttribState s;
    std::vector<AttribState> attribStack;
    std::vector<Mat4> modelview{Mat4()};
    std::vector<Mat4> projection{Mat4()};
    std::vector<Mat4> textureMatrix{Mat4()};
    std::array<std::uint32_t, GroupCount> versions{};
    GLenum error = GL_NO_ERROR;
    int unpackAlignment = 4;
    int packAlignment = 4;
    int maxTextureSize = 2048;

    Textures textures;
    DisplayLists lists;
    Immediate immediate;
    Batcher batcher;
    Programs programs;

    void setError(GLenum e) {
        if (error == GL_NO_ERROR) error = e;
    }
    void bump(Group g) { ++versions[g]; }
    const Mat4& currentModelview() const { return modelview.back(); }
};

Context& ctx();

// Sets up WebGL for the layer once a context is current; entry points call
// it, so the first GL call does it.
void ensureWebGl();

// Called by every change of state a pending draw was queued under: that draw
// goes to WebGL first, with the state it was queued with.
inline void stateChanging() { ctx().batcher.flush(); }

inline bool insideBeginEnd() { return ctx().immediate.inside(); }

}  // namespace mwgl

// An entry point compiled into the display list being built instead of run.
#define MWGL_RECORD(call)                                      \
    do {                                                       \
        if (::mwgl::ctx().lists.compiling()) {                 \
            ::mwgl::ctx().lists.record([=] { call; });         \
            return;                                            \
        }                                                      \
    } while (0)

// Most commands are errors between glBegin and glEnd.
#define MWGL_NOT_IN_BEGIN_END(...)                                  \
    do {                                                            \
        if (::mwgl::insideBeginEnd()) {                             \
            ::mwgl::ctx().setError(GL_INVALID_OPERATION);           \
            return __VA_ARGS__;                                     \
        }                                                           \
    } while (0)
