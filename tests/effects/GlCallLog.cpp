// The functions below take the place of libGL's for the code linked into a
// test binary (the executable's own definitions win), record the call and
// pass it on to the real function found behind them.
#include "GlCallLog.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace glcalls {
namespace {

bool recording = false;
std::vector<Call> calls;

template <typename Fn>
Fn real(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        std::fprintf(stderr, "GlCallLog: no real %s\n", name);
        std::abort();
    }
    return reinterpret_cast<Fn>(symbol);
}

void record(const char* name, double a = 0, double b = 0, double c = 0, double d = 0) {
    if (recording) calls.push_back(Call{name, {a, b, c, d}});
}

}  // namespace

void start() {
    calls.clear();
    recording = true;
}

void stop() { recording = false; }

const std::vector<Call>& log() { return calls; }

std::vector<Call> named(const std::string& name) {
    std::vector<Call> result;
    for (const Call& call : calls) {
        if (call.name == name) result.push_back(call);
    }
    return result;
}

int count(const std::string& name) { return static_cast<int>(named(name).size()); }

TriangleCapture triangles() {
    TriangleCapture capture;
    bool inTriangles = false;
    Vertex current{};
    std::vector<Vertex> pending;
    for (const Call& call : calls) {
        if (call.name == "glBegin") {
            inTriangles = call.args[0] == GL_TRIANGLES;
            if (inTriangles) ++capture.batches;
            pending.clear();
        } else if (!inTriangles) {
            continue;
        } else if (call.name == "glNormal3fv") {
            for (int i = 0; i < 3; ++i) current.normal[i] = static_cast<float>(call.args[i]);
        } else if (call.name == "glVertex3fv") {
            for (int i = 0; i < 3; ++i) current.position[i] = static_cast<float>(call.args[i]);
            pending.push_back(current);
            if (pending.size() == 3) {
                capture.triangles.push_back({pending[0], pending[1], pending[2]});
                pending.clear();
            }
        } else if (call.name == "glEnd") {
            inTriangles = false;
        }
    }
    return capture;
}

}  // namespace glcalls

using glcalls::real;
using glcalls::record;

// Defines a recording stand-in for a void GL function: name, parameter
// list, call arguments, and the values to record.
#define GL_RECORDING(name, params, args, ...)                 \
    void name params {                                        \
        record(#name, __VA_ARGS__);                           \
        static auto real##name = real<void(*) params>(#name); \
        real##name args;                                      \
    }

extern "C" {

GL_RECORDING(glBegin, (GLenum mode), (mode), mode)
GL_RECORDING(glEnd, (), (), 0)
GL_RECORDING(glVertex3fv, (const GLfloat* v), (v), v[0], v[1], v[2])
GL_RECORDING(glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_RECORDING(glVertex2f, (GLfloat x, GLfloat y), (x, y), x, y)
GL_RECORDING(glNormal3fv, (const GLfloat* v), (v), v[0], v[1], v[2])
GL_RECORDING(glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_RECORDING(glTexCoord2d, (GLdouble s, GLdouble t), (s, t), s, t)
GL_RECORDING(glTexCoord2f, (GLfloat s, GLfloat t), (s, t), s, t)
GL_RECORDING(glMaterialfv, (GLenum face, GLenum pname, const GLfloat* v), (face, pname, v), face, pname, v[0], v[1])
GL_RECORDING(glBindTexture, (GLenum target, GLuint name), (target, name), target, name)
GL_RECORDING(glEnable, (GLenum cap), (cap), cap)
GL_RECORDING(glDisable, (GLenum cap), (cap), cap)
GL_RECORDING(glNewList, (GLuint list, GLenum mode), (list, mode), list, mode)
GL_RECORDING(glEndList, (), (), 0)
GL_RECORDING(glCallList, (GLuint list), (list), list)
GL_RECORDING(glScalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_RECORDING(glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)

GLuint glGenLists(GLsizei range) {
    static auto realGenLists = real<GLuint (*)(GLsizei)>("glGenLists");
    const GLuint first = realGenLists(range);
    record("glGenLists", range, first);
    return first;
}

}  // extern "C"
