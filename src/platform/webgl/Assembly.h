// GL 1.1's primitives as the triangles and lines WebGL draws. Each triangle
// keeps the vertex GL 1.1 takes a flat-shaded primitive's colour from last,
// where WebGL takes it.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "platform/webgl/Vertex.h"

namespace mwgl {

bool isPrimitiveMode(GLenum mode);
PrimClass classOf(GLenum mode);

// Calls `polygon(indices, n)` for each whole polygon (triangle, quad or
// polygon) of a triangle-class primitive of `count` vertices, its vertices in
// GL order; incomplete ones are dropped.
template <typename F>
void forEachPolygon(GLenum mode, std::uint32_t count, F&& polygon) {
    std::uint32_t idx[4];
    switch (mode) {
    case GL_TRIANGLES:
        for (std::uint32_t i = 0; i + 3 <= count; i += 3) {
            idx[0] = i, idx[1] = i + 1, idx[2] = i + 2;
            polygon(idx, 3u);
        }
        break;
    case GL_TRIANGLE_STRIP:
        for (std::uint32_t i = 0; i + 3 <= count; ++i) {
            // Every other triangle turns round so that all face alike.
            if (i % 2 == 0) {
                idx[0] = i, idx[1] = i + 1, idx[2] = i + 2;
            } else {
                idx[0] = i + 1, idx[1] = i, idx[2] = i + 2;
            }
            polygon(idx, 3u);
        }
        break;
    case GL_TRIANGLE_FAN:
        for (std::uint32_t i = 1; i + 2 <= count; ++i) {
            idx[0] = 0, idx[1] = i, idx[2] = i + 1;
            polygon(idx, 3u);
        }
        break;
    case GL_QUADS:
        for (std::uint32_t i = 0; i + 4 <= count; i += 4) {
            idx[0] = i, idx[1] = i + 1, idx[2] = i + 2, idx[3] = i + 3;
            polygon(idx, 4u);
        }
        break;
    case GL_QUAD_STRIP:
        for (std::uint32_t i = 0; i + 4 <= count; i += 2) {
            idx[0] = i, idx[1] = i + 1, idx[2] = i + 3, idx[3] = i + 2;
            polygon(idx, 4u);
        }
        break;
    default:
        break;
    }
}

// The triangles of one polygon from forEachPolygon, as index triples onto
// `out`. Quads split along Mesa's diagonal, or for flat shading along the
// one that leaves the quad's colouring vertex last in both triangles.
void triangulatePolygon(GLenum mode, const std::uint32_t* idx, std::uint32_t n, bool flat,
                        std::vector<std::uint32_t>& out);

// Triangles of a whole triangle-class primitive (GL_POLYGON included).
void triangulate(GLenum mode, std::uint32_t count, bool flat, std::vector<std::uint32_t>& out);

// The edges a polygon mode of GL_LINE draws, as index pairs.
void outline(GLenum mode, std::uint32_t count, std::vector<std::uint32_t>& out);

// Segments of a line-class primitive, as index pairs.
void segments(GLenum mode, std::uint32_t count, std::vector<std::uint32_t>& out);

}  // namespace mwgl
