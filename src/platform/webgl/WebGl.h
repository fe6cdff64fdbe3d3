// The WebGL 2 calls the layer makes, by emscripten's emscripten_gl* names so
// that they never meet the GL 1.1 entry points the layer defines under the
// plain names. Declared here with plain C types, not through the GLES
// headers, whose enumerants and prototypes would clash with <GL/gl.h>.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {
void emscripten_glActiveTexture(unsigned texture);
void emscripten_glAttachShader(unsigned program, unsigned shader);
void emscripten_glBindAttribLocation(unsigned program, unsigned index, const char* name);
void emscripten_glBindBuffer(unsigned target, unsigned buffer);
void emscripten_glBindTexture(unsigned target, unsigned texture);
void emscripten_glBindVertexArray(unsigned array);
void emscripten_glBlendFunc(unsigned sfactor, unsigned dfactor);
void emscripten_glBufferData(unsigned target, std::ptrdiff_t size, const void* data, unsigned usage);
void emscripten_glBufferSubData(unsigned target, std::ptrdiff_t offset, std::ptrdiff_t size, const void* data);
void emscripten_glClear(unsigned mask);
void emscripten_glClearColor(float r, float g, float b, float a);
void emscripten_glClearDepthf(float depth);
void emscripten_glCompileShader(unsigned shader);
unsigned emscripten_glCreateProgram(void);
unsigned emscripten_glCreateShader(unsigned type);
void emscripten_glCullFace(unsigned mode);
void emscripten_glDepthFunc(unsigned func);
void emscripten_glDepthMask(unsigned char flag);
void emscripten_glDisable(unsigned cap);
void emscripten_glDisableVertexAttribArray(unsigned index);
void emscripten_glDrawArrays(unsigned mode, int first, int count);
void emscripten_glDrawElements(unsigned mode, int count, unsigned type, const void* indices);
void emscripten_glEnable(unsigned cap);
void emscripten_glEnableVertexAttribArray(unsigned index);
void emscripten_glFinish(void);
void emscripten_glFlush(void);
void emscripten_glFrontFace(unsigned mode);
void emscripten_glGenBuffers(int n, unsigned* buffers);
void emscripten_glGenTextures(int n, unsigned* textures);
void emscripten_glGenVertexArrays(int n, unsigned* arrays);
unsigned emscripten_glGetError(void);
void emscripten_glGetIntegerv(unsigned pname, int* data);
void emscripten_glGetProgramInfoLog(unsigned program, int bufSize, int* length, char* infoLog);
void emscripten_glGetProgramiv(unsigned program, unsigned pname, int* params);
void emscripten_glGetShaderInfoLog(unsigned shader, int bufSize, int* length, char* infoLog);
void emscripten_glGetShaderiv(unsigned shader, unsigned pname, int* params);
int emscripten_glGetUniformLocation(unsigned program, const char* name);
void emscripten_glLineWidth(float width);
void emscripten_glLinkProgram(unsigned program);
void emscripten_glPixelStorei(unsigned pname, int param);
void emscripten_glReadPixels(int x, int y, int width, int height, unsigned format, unsigned type, void* pixels);
void emscripten_glScissor(int x, int y, int width, int height);
void emscripten_glShaderSource(unsigned shader, int count, const char* const* string, const int* length);
void emscripten_glTexImage2D(unsigned target, int level, int internalformat, int width, int height, int border,
                             unsigned format, unsigned type, const void* pixels);
void emscripten_glTexParameteri(unsigned target, unsigned pname, int param);
void emscripten_glUniform1i(int location, int v0);
void emscripten_glUniform1f(int location, float v0);
void emscripten_glUniform4fv(int location, int count, const float* value);
void emscripten_glUniformMatrix3fv(int location, int count, unsigned char transpose, const float* value);
void emscripten_glUniformMatrix4fv(int location, int count, unsigned char transpose, const float* value);
void emscripten_glUseProgram(unsigned program);
void emscripten_glVertexAttrib4f(unsigned index, float x, float y, float z, float w);
void emscripten_glVertexAttribPointer(unsigned index, int size, unsigned type, unsigned char normalized, int stride,
                                      const void* pointer);
void emscripten_glViewport(int x, int y, int width, int height);
}

// The WebGL enumerants the layer uses (the WebGL 2 values).
namespace wgl {
constexpr unsigned ZERO = 0, ONE = 1;
constexpr unsigned LINES = 0x0001, TRIANGLES = 0x0004;
constexpr unsigned DEPTH_BUFFER_BIT = 0x0100, COLOR_BUFFER_BIT = 0x4000;
constexpr unsigned CULL_FACE = 0x0B44, DEPTH_TEST = 0x0B71, DITHER = 0x0BD0, BLEND = 0x0BE2, SCISSOR_TEST = 0x0C11,
                   POLYGON_OFFSET_FILL = 0x8037;
constexpr unsigned FRONT = 0x0404, BACK = 0x0405, FRONT_AND_BACK = 0x0408, CW = 0x0900, CCW = 0x0901;
constexpr unsigned FLOAT = 0x1406, UNSIGNED_BYTE = 0x1401, UNSIGNED_INT = 0x1405;
constexpr unsigned RGBA = 0x1908, RGBA8 = 0x8058;
constexpr unsigned TEXTURE_2D = 0x0DE1, TEXTURE0 = 0x84C0;
constexpr unsigned TEXTURE_MAG_FILTER = 0x2800, TEXTURE_MIN_FILTER = 0x2801, TEXTURE_WRAP_S = 0x2802,
                   TEXTURE_WRAP_T = 0x2803, TEXTURE_MAX_LEVEL = 0x813D, REPEAT = 0x2901;
constexpr unsigned UNPACK_ALIGNMENT = 0x0CF5, PACK_ALIGNMENT = 0x0D05;
constexpr unsigned ARRAY_BUFFER = 0x8892, ELEMENT_ARRAY_BUFFER = 0x8893, STREAM_DRAW = 0x88E0, STATIC_DRAW = 0x88E4;
constexpr unsigned FRAGMENT_SHADER = 0x8B30, VERTEX_SHADER = 0x8B31, COMPILE_STATUS = 0x8B81, LINK_STATUS = 0x8B82;
constexpr unsigned MAX_TEXTURE_SIZE = 0x0D33;
}  // namespace wgl
