// glPushAttrib/glPopAttrib: the whole of AttribState, which is all the
// show's GL_ALL_ATTRIB_BITS can mean here, and the filters of the bound
// texture, which GL 1.1 saves with it.
#include "platform/webgl/Context.h"
#include "platform/webgl/RasterState.h"

using namespace mwgl;

extern "C" {

void glPushAttrib(GLbitfield mask) {
    MWGL_RECORD(glPushAttrib(mask));
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (c.attribStack.size() >= kMaxAttribStackDepth) return c.setError(GL_STACK_OVERFLOW);
    c.attribStack.push_back(c.s);
}

void glPopAttrib(void) {
    if (ctx().lists.compiling()) return ctx().lists.recordOpaque([] { glPopAttrib(); });
    MWGL_NOT_IN_BEGIN_END();
    ensureWebGl();
    Context& c = ctx();
    if (c.attribStack.empty()) return c.setError(GL_STACK_UNDERFLOW);
    stateChanging();
    c.s = c.attribStack.back();
    c.attribStack.pop_back();
    for (int g = 0; g < GroupCount; ++g) {
        if (g != GroupModelview && g != GroupProjection && g != GroupTextureMatrix) c.bump(static_cast<Group>(g));
    }
    TextureObject& t = c.textures.bound();
    if (t.minFilter != c.s.boundMinFilter) c.textures.setFilter(t, GL_TEXTURE_MIN_FILTER, c.s.boundMinFilter);
    if (t.magFilter != c.s.boundMagFilter) c.textures.setFilter(t, GL_TEXTURE_MAG_FILTER, c.s.boundMagFilter);
    applyAllRasterState(c.s);
}

}  // extern "C"
