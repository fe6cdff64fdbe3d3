// glBegin/glEnd run at once (not compiled): each vertex goes into eye
// coordinates as it arrives, so that a change of modelview between two
// primitives does not end a batch, and the finished primitive goes to the
// batcher as WebGL triangles or lines.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/webgl/Vertex.h"

namespace mwgl {

class Batcher;

class Immediate {
public:
    // Vertices go into eye coordinates under the matrices of `gl`, and
    // finished primitives to `batcher`.
    Immediate(const ContextState& gl, Batcher& batcher) : gl(gl), batcher(batcher) {}

    bool inside() const { return inside_; }
    void begin(GLenum mode);
    void vertex(float x, float y, float z);
    void end();
    // glMaterial between glBegin and glEnd: the vertices after it take the
    // new material.
    void materialChanged();

private:
    void emitPolygonLines(std::vector<Vertex>& lines, std::vector<Vertex>& fill);
    const ContextState& gl;
    Batcher& batcher;
    bool inside_ = false;
    GLenum mode = 0;
    std::vector<Vertex> vertices;
    std::vector<MaterialPair> materials;
    std::uint32_t modelviewVersion = ~0u;
    std::array<float, 9> normalMatrix{};
    std::vector<std::uint32_t> indices;
    std::vector<Vertex> expanded;
    std::vector<Vertex> lineVertices;
};

// The current material as a palette holds it: the properties colour
// material takes from the vertex colour are left out, so that changing
// colours do not make new materials.
MaterialPair paletteMaterial(const AttribState& s);

}  // namespace mwgl
