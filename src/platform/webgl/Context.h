// The one context: its state and the parts that act on it. Every entry point
// reaches them through ctx().
#pragma once

#include <GL/gl.h>

#include "platform/webgl/Batcher.h"
#include "platform/webgl/DisplayLists.h"
#include "platform/webgl/Immediate.h"
#include "platform/webgl/Programs.h"
#include "platform/webgl/State.h"
#include "platform/webgl/Textures.h"

namespace mwgl {

// The parts are given what they use instead of the context: the state, and
// the parts they hand work to, which come first so they are made first.
struct Context : ContextState {
    Textures textures{s};
    Programs programs{*this, textures};
    Batcher batcher{s, programs};
    Immediate immediate{*this, batcher};
    DisplayLists lists{s, batcher};
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
#define MWGL_RECORD(call)                              \
    do {                                               \
        if (::mwgl::ctx().lists.compiling()) {         \
            ::mwgl::ctx().lists.record([=] { call; }); \
            return;                                    \
        }                                              \
    } while (0)

// Most commands are errors between glBegin and glEnd.
#define MWGL_NOT_IN_BEGIN_END(...)                        \
    do {                                                  \
        if (::mwgl::insideBeginEnd()) {                   \
            ::mwgl::ctx().setError(GL_INVALID_OPERATION); \
            return __VA_ARGS__;                           \
        }                                                 \
    } while (0)
