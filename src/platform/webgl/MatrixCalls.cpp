// The three matrix stacks. Immediate-mode vertices are carried into eye
// coordinates as they come, so a modelview change only has to draw what is
// queued when that is a display list's, drawn under the modelview.
#include "platform/webgl/Context.h"

using namespace mwgl;

namespace {

std::vector<Mat4>& currentStack(Context& c) {
    switch (c.s.matrixMode) {
    case GL_PROJECTION:
        return c.projection;
    case GL_TEXTURE:
        return c.textureMatrix;
    default:
        return c.modelview;
    }
}

std::size_t maxDepth(GLenum mode) {
    switch (mode) {
    case GL_PROJECTION:
        return kMaxProjectionDepth;
    case GL_TEXTURE:
        return kMaxTextureDepth;
    default:
        return kMaxModelviewDepth;
    }
}

Group groupOf(GLenum mode) {
    switch (mode) {
    case GL_PROJECTION:
        return GroupProjection;
    case GL_TEXTURE:
        return GroupTextureMatrix;
    default:
        return GroupModelview;
    }
}

// Before the top of the current stack changes.
void topChanging(Context& c) {
    if (c.s.matrixMode != GL_MODELVIEW || c.batcher.pendingList()) stateChanging();
}

void setTop(const Mat4& m) {
    Context& c = ctx();
    std::vector<Mat4>& stack = currentStack(c);
    if (stack.back().m == m.m) return;
    topChanging(c);
    stack.back() = m;
    c.bump(groupOf(c.s.matrixMode));
}

void multiply(const Mat4& m) { setTop(currentStack(ctx()).back() * m); }

}  // namespace

extern "C" {

void glMatrixMode(GLenum mode) {
    MWGL_RECORD(glMatrixMode(mode));
    MWGL_NOT_IN_BEGIN_END();
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) return ctx().setError(GL_INVALID_ENUM);
    ctx().s.matrixMode = mode;
}

void glLoadIdentity(void) {
    MWGL_RECORD(glLoadIdentity());
    MWGL_NOT_IN_BEGIN_END();
    setTop(Mat4());
}

void glLoadMatrixf(const GLfloat* m) {
    const Mat4 matrix = Mat4::fromArray(m);
    MWGL_RECORD(glLoadMatrixf(matrix.m.data()));
    MWGL_NOT_IN_BEGIN_END();
    setTop(matrix);
}

void glMultMatrixf(const GLfloat* m) {
    const Mat4 matrix = Mat4::fromArray(m);
    MWGL_RECORD(glMultMatrixf(matrix.m.data()));
    MWGL_NOT_IN_BEGIN_END();
    multiply(matrix);
}

void glPushMatrix(void) {
    MWGL_RECORD(glPushMatrix());
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    std::vector<Mat4>& stack = currentStack(c);
    if (stack.size() >= maxDepth(c.s.matrixMode)) return c.setError(GL_STACK_OVERFLOW);
    stack.push_back(stack.back());
}

void glPopMatrix(void) {
    MWGL_RECORD(glPopMatrix());
    MWGL_NOT_IN_BEGIN_END();
    Context& c = ctx();
    std::vector<Mat4>& stack = currentStack(c);
    if (stack.size() <= 1) return c.setError(GL_STACK_UNDERFLOW);
    if (stack[stack.size() - 2].m != stack.back().m) {
        topChanging(c);
        c.bump(groupOf(c.s.matrixMode));
    }
    stack.pop_back();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    MWGL_RECORD(glTranslatef(x, y, z));
    MWGL_NOT_IN_BEGIN_END();
    multiply(Mat4::translation(x, y, z));
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    MWGL_RECORD(glRotatef(angle, x, y, z));
    MWGL_NOT_IN_BEGIN_END();
    multiply(Mat4::rotation(angle, x, y, z));
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    MWGL_RECORD(glScalef(x, y, z));
    MWGL_NOT_IN_BEGIN_END();
    multiply(Mat4::scaling(x, y, z));
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) {
    MWGL_RECORD(glOrtho(left, right, bottom, top, zNear, zFar));
    MWGL_NOT_IN_BEGIN_END();
    if (left == right || bottom == top || zNear == zFar) return ctx().setError(GL_INVALID_VALUE);
    multiply(Mat4::ortho(left, right, bottom, top, zNear, zFar));
}

}  // extern "C"
