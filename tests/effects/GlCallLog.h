// Records the fixed-function calls the effects make, so tests can check what
// reached OpenGL and in which order: batches, state set before each batch,
// display lists compiled and replayed. The calls still go to the real
// context; recording only happens between start() and stop().
#pragma once

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

namespace glcalls {

struct Call {
    std::string name;              // "glBegin", "glVertex3fv", ...
    std::array<double, 4> args{};  // numeric arguments, vectors unpacked
};

void start();  // clears the log and starts recording
void stop();
const std::vector<Call>& log();

// Calls by name, in order.
std::vector<Call> named(const std::string& name);
int count(const std::string& name);

struct Vertex {
    float position[3];
    float normal[3];
};

// Every triangle sent between glBegin(GL_TRIANGLES) and glEnd with
// glNormal3fv/glVertex3fv, in order, and the number of glBegin batches.
struct TriangleCapture {
    std::vector<std::array<Vertex, 3>> triangles;
    int batches = 0;
};
TriangleCapture triangles();

}  // namespace glcalls
