#include "platform/webgl/Immediate.h"

#include "platform/webgl/Assembly.h"
#include "platform/webgl/Batcher.h"

namespace mwgl {

MaterialPair paletteMaterial(const AttribState& s) {
    MaterialPair pair{s.materials[0], s.materials[1]};
    if (s.isOn(CapColorMaterial)) {
        const unsigned bits = colorMaterialBits(s.colorMaterialMode);
        const unsigned faces = faceBits(s.colorMaterialFace);
        for (int f = 0; f < 2; ++f) {
            if (!(faces & (1u << f))) continue;
            Material& m = f == 0 ? pair.front : pair.back;
            if (bits & MatAmbient) m.ambient = {};
            if (bits & MatDiffuse) m.diffuse = {};
            if (bits & MatSpecular) m.specular = {};
            if (bits & MatEmission) m.emission = {};
        }
    }
    return pair;
}

void Immediate::begin(GLenum mode_) {
    inside_ = true;
    mode = mode_;
    vertices.clear();
    materials.clear();
    if (gl.s.isOn(CapLighting)) materials.push_back(paletteMaterial(gl.s));
}

void Immediate::materialChanged() {
    if (gl.s.isOn(CapLighting)) materials.push_back(paletteMaterial(gl.s));
}

void Immediate::vertex(float x, float y, float z) {
    const AttribState& s = gl.s;
    const Mat4& mv = gl.currentModelview();
    if (modelviewVersion != gl.versions[GroupModelview]) {
        normalMatrix = mwgl::normalMatrix(mv);
        modelviewVersion = gl.versions[GroupModelview];
    }
    Vertex v;
    const Vec3 eye = mv.transformPoint(x, y, z);
    v.position[0] = eye[0], v.position[1] = eye[1], v.position[2] = eye[2];
    const float* n = normalMatrix.data();
    const Vec3& o = s.normal;
    v.normal[0] = n[0] * o[0] + n[3] * o[1] + n[6] * o[2];
    v.normal[1] = n[1] * o[0] + n[4] * o[1] + n[7] * o[2];
    v.normal[2] = n[2] * o[0] + n[5] * o[1] + n[8] * o[2];
    for (int i = 0; i < 4; ++i) {
        v.color[i] = s.color[i];
        v.texCoord[i] = s.texCoord[i];
    }
    v.slot = materials.empty() ? 0.0f : static_cast<float>(materials.size() - 1);
    vertices.push_back(v);
}

namespace {

// Whether a polygon faces the viewer, from its vertices' window positions
// (the projection on the CPU: only polygon mode GL_LINE needs this).
bool frontFacing(const ContextState& gl, const std::vector<Vertex>& v, const std::uint32_t* idx, std::uint32_t n) {
    const Mat4& p = gl.projection.back();
    double area = 0;
    float px[64], py[64];
    n = n > 64 ? 64 : n;
    for (std::uint32_t k = 0; k < n; ++k) {
        const Vertex& e = v[idx[k]];
        const Vec4 clip = p.transform({e.position[0], e.position[1], e.position[2], 1});
        const float w = clip[3] != 0 ? clip[3] : 1e-20f;
        px[k] = clip[0] / w;
        py[k] = clip[1] / w;
    }
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t j = (k + 1) % n;
        area += static_cast<double>(px[k]) * py[j] - static_cast<double>(px[j]) * py[k];
    }
    return gl.s.frontFace == GL_CCW ? area > 0 : area < 0;
}

}  // namespace

void Immediate::emitPolygonLines(std::vector<Vertex>& lines, std::vector<Vertex>& fill) {
    const AttribState& s = gl.s;
    const bool cull = s.isOn(CapCullFace);
    auto polygon = [&](const std::uint32_t* idx, std::uint32_t n) {
        const bool front = frontFacing(gl, vertices, idx, n);
        if (cull && (s.cullFace == GL_FRONT_AND_BACK || (s.cullFace == GL_FRONT) == front)) return;
        if (s.polygonMode[front ? 0 : 1] == GL_LINE) {
            for (std::uint32_t k = 0; k < n; ++k) {
                lines.push_back(vertices[idx[k]]);
                lines.push_back(vertices[idx[(k + 1) % n]]);
            }
        } else {
            indices.clear();
            if (mode == GL_POLYGON) {
                for (std::uint32_t i = 1; i + 2 <= n; ++i) indices.insert(indices.end(), {idx[i], idx[i + 1], idx[0]});
            } else {
                triangulatePolygon(mode, idx, n, s.shadeModel == GL_FLAT, indices);
            }
            for (std::uint32_t i : indices) fill.push_back(vertices[i]);
        }
    };
    if (mode == GL_POLYGON) {
        std::vector<std::uint32_t> all(vertices.size());
        for (std::uint32_t i = 0; i < all.size(); ++i) all[i] = i;
        if (all.size() >= 3) polygon(all.data(), static_cast<std::uint32_t>(all.size()));
    } else {
        forEachPolygon(mode, static_cast<std::uint32_t>(vertices.size()), polygon);
    }
}

void Immediate::end() {
    inside_ = false;
    const auto count = static_cast<std::uint32_t>(vertices.size());
    expanded.clear();
    indices.clear();
    const PrimClass prim = classOf(mode);
    if (prim == PrimClass::Lines) {
        segments(mode, count, indices);
        for (std::uint32_t i : indices) expanded.push_back(vertices[i]);
        if (!expanded.empty()) batcher.submitImmediate(PrimClass::Lines, expanded, materials);
        return;
    }
    const AttribState& s = gl.s;
    if (s.polygonMode[0] == GL_FILL && s.polygonMode[1] == GL_FILL) {
        triangulate(mode, count, s.shadeModel == GL_FLAT, indices);
        for (std::uint32_t i : indices) expanded.push_back(vertices[i]);
        if (!expanded.empty()) batcher.submitImmediate(PrimClass::Triangles, expanded, materials);
        return;
    }
    lineVertices.clear();
    emitPolygonLines(lineVertices, expanded);
    if (!expanded.empty()) batcher.submitImmediate(PrimClass::Triangles, expanded, materials);
    if (!lineVertices.empty()) batcher.submitImmediate(PrimClass::Lines, lineVertices, materials);
}

}  // namespace mwgl
