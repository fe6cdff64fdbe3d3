#include "platform/webgl/Assembly.h"

namespace mwgl {

bool isPrimitiveMode(GLenum mode) { return mode >= GL_LINES && mode <= GL_POLYGON; }

PrimClass classOf(GLenum mode) {
    return mode == GL_LINES || mode == GL_LINE_LOOP || mode == GL_LINE_STRIP ? PrimClass::Lines : PrimClass::Triangles;
}

void triangulatePolygon(GLenum mode, const std::uint32_t* idx, std::uint32_t n, bool flat,
                        std::vector<std::uint32_t>& out) {
    if (n == 3) {
        out.insert(out.end(), {idx[0], idx[1], idx[2]});
    } else if (!flat) {
        // Mesa's diagonal, from the quad's first vertex in GL order (a
        // smooth quad's colours differ with the diagonal).
        out.insert(out.end(), {idx[0], idx[1], idx[2], idx[0], idx[2], idx[3]});
    } else if (mode == GL_QUAD_STRIP) {
        // Flat: both triangles end on the vertex that colours the quad, a
        // strip quad's third vertex in GL order, an independent quad's fourth.
        out.insert(out.end(), {idx[0], idx[1], idx[2], idx[3], idx[0], idx[2]});
    } else {
        out.insert(out.end(), {idx[0], idx[1], idx[3], idx[1], idx[2], idx[3]});
    }
}

void triangulate(GLenum mode, std::uint32_t count, bool flat, std::vector<std::uint32_t>& out) {
    if (mode == GL_POLYGON) {
        // A polygon's flat colour is its first vertex's: each fan triangle
        // is turned round to end on it (the same triangles as a fan).
        for (std::uint32_t i = 1; i + 2 <= count; ++i) out.insert(out.end(), {i, i + 1, 0u});
        return;
    }
    forEachPolygon(mode, count,
                   [&](const std::uint32_t* idx, std::uint32_t n) { triangulatePolygon(mode, idx, n, flat, out); });
}

void outline(GLenum mode, std::uint32_t count, std::vector<std::uint32_t>& out) {
    auto loop = [&](const std::uint32_t* idx, std::uint32_t n) {
        for (std::uint32_t k = 0; k < n; ++k) out.insert(out.end(), {idx[k], idx[(k + 1) % n]});
    };
    if (mode == GL_POLYGON) {
        if (count < 3) return;
        for (std::uint32_t k = 0; k < count; ++k) out.insert(out.end(), {k, (k + 1) % count});
        return;
    }
    forEachPolygon(mode, count, loop);
}

void segments(GLenum mode, std::uint32_t count, std::vector<std::uint32_t>& out) {
    switch (mode) {
    case GL_LINES:
        for (std::uint32_t i = 0; i + 2 <= count; i += 2) out.insert(out.end(), {i, i + 1});
        break;
    case GL_LINE_STRIP:
        for (std::uint32_t i = 0; i + 2 <= count; ++i) out.insert(out.end(), {i, i + 1});
        break;
    case GL_LINE_LOOP:
        if (count < 2) break;
        for (std::uint32_t i = 0; i + 2 <= count; ++i) out.insert(out.end(), {i, i + 1});
        out.insert(out.end(), {count - 1, 0u});
        break;
    default:
        break;
    }
}

}  // namespace mwgl
