#include "platform/webgl/VertexBuffers.h"

#include "platform/webgl/Dedupe.h"
#include "platform/webgl/Programs.h"
#include "platform/webgl/WebGl.h"

namespace mwgl {

void pointVertexAttributes() {
    const int stride = sizeof(Vertex);
    emscripten_glVertexAttribPointer(LocPosition, 3, wgl::FLOAT, 0, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, position)));
    emscripten_glVertexAttribPointer(LocNormal, 3, wgl::FLOAT, 0, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, normal)));
    emscripten_glVertexAttribPointer(LocColor, 4, wgl::FLOAT, 0, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, color)));
    emscripten_glVertexAttribPointer(LocTexCoord, 4, wgl::FLOAT, 0, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, texCoord)));
    emscripten_glVertexAttribPointer(LocSlot, 1, wgl::FLOAT, 0, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, slot)));
    for (unsigned i = LocPosition; i <= LocSlot; ++i) emscripten_glEnableVertexAttribArray(i);
}

void CompiledGeometry::upload() {
    // Drawn indexed: the list's vertices once each, and for every vertex
    // of the triangles and lines as compiled, its index.
    std::vector<Vertex> unique;
    std::vector<std::uint32_t> indices;
    dedupe(vertices.data(), vertices.size(), 0, unique, indices);
    for (std::uint32_t& e : edges) e = indices[e];
    elementCount = indices.size();
    indices.insert(indices.end(), edges.begin(), edges.end());

    emscripten_glGenVertexArrays(1, &array);
    emscripten_glBindVertexArray(array);
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(wgl::ARRAY_BUFFER, buffer);
    emscripten_glBufferData(wgl::ARRAY_BUFFER, static_cast<std::ptrdiff_t>(unique.size() * sizeof(Vertex)),
                            unique.data(), wgl::STATIC_DRAW);
    pointVertexAttributes();
    emscripten_glGenBuffers(1, &elementBuffer);
    emscripten_glBindBuffer(wgl::ELEMENT_ARRAY_BUFFER, elementBuffer);
    emscripten_glBufferData(wgl::ELEMENT_ARRAY_BUFFER, static_cast<std::ptrdiff_t>(indices.size() * 4), indices.data(),
                            wgl::STATIC_DRAW);
    emscripten_glBindVertexArray(0);
    uploaded = true;
    // WebGL holds them now.
    std::vector<Vertex>().swap(vertices);
    std::vector<std::uint32_t>().swap(edges);
}

}  // namespace mwgl
