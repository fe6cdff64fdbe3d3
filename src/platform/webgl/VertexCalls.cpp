// glBegin/glEnd and the vertex attributes: into the display list being
// compiled, or into the immediate-mode assembler.
#include <algorithm>

#include "platform/webgl/Assembly.h"
#include "platform/webgl/Context.h"

using namespace mwgl;

namespace mwgl {
void colorMaterialTakesCurrentColor();  // Lighting.cpp
}

namespace {

inline void vertex(float x, float y, float z) {
    Context& c = ctx();
    if (c.lists.compiling()) {
        if (c.lists.insideBegin()) c.lists.vertex(x, y, z);
    } else if (c.immediate.inside()) {
        c.immediate.vertex(x, y, z);
    }
}

void setColor(float r, float g, float b, float a) {
    Context& c = ctx();
    const float v[4] = {r, g, b, a};
    if (c.lists.compiling()) return c.lists.color(v);
    if (c.batcher.pendingInherits(AttrColor)) c.batcher.flush();
    c.s.color = {r, g, b, a};
    if (c.s.isOn(CapColorMaterial)) colorMaterialTakesCurrentColor();
}

void setNormal(float x, float y, float z) {
    Context& c = ctx();
    const float v[3] = {x, y, z};
    if (c.lists.compiling()) return c.lists.normal(v);
    if (c.batcher.pendingInherits(AttrNormal)) c.batcher.flush();
    c.s.normal = {x, y, z};
}

void setTexCoord(float s, float t, float r, float q) {
    Context& c = ctx();
    const float v[4] = {s, t, r, q};
    if (c.lists.compiling()) return c.lists.texCoord(v);
    if (c.batcher.pendingInherits(AttrTexCoord)) c.batcher.flush();
    c.s.texCoord = {s, t, r, q};
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
    Context& c = ctx();
    if (c.lists.compiling()) {
        if (isPrimitiveMode(mode) && !c.lists.insideBegin()) c.lists.begin(mode);
        return;
    }
    if (c.immediate.inside()) return c.setError(GL_INVALID_OPERATION);
    if (!isPrimitiveMode(mode)) return c.setError(GL_INVALID_ENUM);
    ensureWebGl();
    c.immediate.begin(mode);
}

void glEnd(void) {
    Context& c = ctx();
    if (c.lists.compiling()) {
        if (c.lists.insideBegin()) c.lists.end();
        return;
    }
    if (!c.immediate.inside()) return c.setError(GL_INVALID_OPERATION);
    c.immediate.end();
}

void glVertex2f(GLfloat x, GLfloat y) { vertex(x, y, 0); }
void glVertex2i(GLint x, GLint y) { vertex(static_cast<float>(x), static_cast<float>(y), 0); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { vertex(x, y, z); }
void glVertex3fv(const GLfloat* v) { vertex(v[0], v[1], v[2]); }

void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) { setNormal(nx, ny, nz); }
void glNormal3fv(const GLfloat* v) { setNormal(v[0], v[1], v[2]); }

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) { setColor(red, green, blue, alpha); }
void glColor4fv(const GLfloat* v) { setColor(v[0], v[1], v[2], v[3]); }

void glTexCoord2f(GLfloat s, GLfloat t) { setTexCoord(s, t, 0, 1); }
void glTexCoord2d(GLdouble s, GLdouble t) { setTexCoord(static_cast<float>(s), static_cast<float>(t), 0, 1); }
void glTexCoord4fv(const GLfloat* v) { setTexCoord(v[0], v[1], v[2], v[3]); }

}  // extern "C"
