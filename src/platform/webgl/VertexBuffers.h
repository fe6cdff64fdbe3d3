// Vertices in WebGL buffers: the layout every program reads a Vertex with,
// and a display list's vertices as one static buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/webgl/Vertex.h"

namespace mwgl {

// Points the vertex attributes of the bound vertex array at the bound
// buffer of Vertex.
void pointVertexAttributes();

struct CompiledGeometry {
    std::vector<Vertex> vertices;      // as drawn: triangles and lines expanded
    std::vector<std::uint32_t> edges;  // vertex pairs: polygon outlines
    unsigned buffer = 0, array = 0, elementBuffer = 0;
    // In the element buffer the edges follow the vertices' indices.
    std::size_t elementCount = 0;
    bool uploaded = false;
    void upload();
};

}  // namespace mwgl
