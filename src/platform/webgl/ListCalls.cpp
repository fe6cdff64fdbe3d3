// The display-list entry points: naming, compiling and calling lists.
#include "platform/webgl/Context.h"

using namespace mwgl;

extern "C" {

GLuint glGenLists(GLsizei range) {
    MWGL_NOT_IN_BEGIN_END(0);
    if (range < 0) {
        ctx().setError(GL_INVALID_VALUE);
        return 0;
    }
    return ctx().lists.generate(range);
}

void glNewList(GLuint list, GLenum mode) {
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (list == 0) return c.setError(GL_INVALID_VALUE);
    if (mode != GL_COMPILE) return c.setError(GL_INVALID_ENUM);
    if (c.lists.compiling()) return c.setError(GL_INVALID_OPERATION);
    c.lists.newList(list);
}

void glEndList(void) {
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    if (!c.lists.compiling()) return c.setError(GL_INVALID_OPERATION);
    c.lists.endList();
}

void glCallList(GLuint list) {
    Context& c = ctx();
    if (c.lists.compiling()) {
        c.lists.recordOpaque([=] { glCallList(list); });
        return;
    }
    ensureWebGl();
    c.lists.call(list);
}

}  // extern "C"
