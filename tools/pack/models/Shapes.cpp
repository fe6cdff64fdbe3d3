#include "pack/models/Shapes.h"

#include <cmath>
#include <stdexcept>

namespace {

constexpr double kPi = 3.14159265358979323846;

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Next smoothing group: one bit per group, wrapping after 32.
std::uint32_t nextGroup(std::uint32_t group) { return group == 0x80000000u ? 1u : group << 1; }

// A convex polygon given in local coordinates: wound so that its normal
// points away from `inside`, fanned into triangles, placed by `place`.
void convexPolygon(MeshData& mesh, const std::vector<Vec3>& corners, Vec3 inside, const std::string& material,
                   std::uint32_t smoothing, const Affine& place) {
    Vec3 centre{};
    for (Vec3 c : corners) centre = centre + c * (1.0f / static_cast<float>(corners.size()));
    const Vec3 normal = cross(corners[1] - corners[0], corners[2] - corners[0]);
    const bool reverse = dot(normal, centre - inside) < 0.0f;
    std::vector<std::uint16_t> ids;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        ids.push_back(mesh.point(place.apply(corners[reverse ? corners.size() - 1 - i : i])));
    }
    for (std::size_t i = 1; i + 1 < ids.size(); ++i) mesh.triangle(ids[0], ids[i], ids[i + 1], material, smoothing);
}

}  // namespace

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }

Affine Affine::translate(Vec3 t) {
    Affine a;
    a.m[0][3] = t.x;
    a.m[1][3] = t.y;
    a.m[2][3] = t.z;
    return a;
}

Affine Affine::scale(Vec3 s) {
    Affine a;
    a.m[0][0] = s.x;
    a.m[1][1] = s.y;
    a.m[2][2] = s.z;
    return a;
}

Affine Affine::rotate(float degrees, Vec3 axis) {
    const double length = std::sqrt(dot(axis, axis));
    const double x = axis.x / length, y = axis.y / length, z = axis.z / length;
    const double angle = degrees * kPi / 180.0;
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    const double r[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                            {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                            {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
    Affine a;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) a.m[i][j] = static_cast<float>(r[i][j]);
    }
    return a;
}

Vec3 Affine::apply(Vec3 p) const {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
}

Affine Affine::then(const Affine& next) const {
    Affine r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            float v = j == 3 ? next.m[i][3] : 0.0f;
            for (int k = 0; k < 3; ++k) v += next.m[i][k] * m[k][j];
            r.m[i][j] = v;
        }
    }
    return r;
}

std::uint16_t MeshData::point(Vec3 p) {
    if (points.size() >= 0xFFFF) throw std::runtime_error("3DS mesh: more than 65535 points");
    points.push_back(p);
    return static_cast<std::uint16_t>(points.size() - 1);
}

void MeshData::triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c, const std::string& material,
                        std::uint32_t smoothing) {
    faces.push_back(Face{{a, b, c}, material, smoothing});
}

void MeshData::quad(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d, const std::string& material,
                    std::uint32_t smoothing) {
    triangle(a, b, c, material, smoothing);
    triangle(a, c, d, material, smoothing);
}

std::uint32_t lathe(MeshData& mesh, const std::vector<ProfilePoint>& profile, int segments, const std::string& material,
                    std::uint32_t group, const Affine& place) {
    // One ring of points per profile point (a single point on the axis).
    std::vector<std::vector<std::uint16_t>> rings;
    for (const ProfilePoint& p : profile) {
        std::vector<std::uint16_t> ring;
        const int count = p.radius == 0.0f ? 1 : segments;
        for (int j = 0; j < count; ++j) {
            const double angle = 2.0 * kPi * j / segments;
            const Vec3 local{static_cast<float>(p.radius * std::cos(angle)), p.height,
                             static_cast<float>(p.radius * std::sin(angle))};
            ring.push_back(mesh.point(place.apply(local)));
        }
        rings.push_back(ring);
    }
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        if (i > 0 && profile[i].sharp) group = nextGroup(group);
        const auto& low = rings[i];
        const auto& high = rings[i + 1];
        for (int j = 0; j < segments; ++j) {
            const int k = (j + 1) % segments;
            if (low.size() == 1) {
                mesh.triangle(low[0], high[j], high[k], material, group);
            } else if (high.size() == 1) {
                mesh.triangle(low[j], high[0], low[k], material, group);
            } else {
                mesh.quad(low[j], high[j], high[k], low[k], material, group);
            }
        }
    }
    return nextGroup(group);
}

void bevelledBox(MeshData& mesh, Vec3 half, float bevel, const std::string& material, const Affine& place) {
    const Vec3 inner = half - Vec3{bevel, bevel, bevel};
    // For each corner (sign bits x, y, z) the corner's point on each of the
    // three faces that meet there.
    auto corner = [&](int face, int sx, int sy, int sz) {
        Vec3 p{sx * inner.x, sy * inner.y, sz * inner.z};
        if (face == 0) p.x = sx * half.x;
        if (face == 1) p.y = sy * half.y;
        if (face == 2) p.z = sz * half.z;
        return p;
    };
    const Vec3 centre{};
    const std::uint32_t round = 1;
    for (int s : {-1, 1}) {
        convexPolygon(mesh, {corner(0, s, -1, -1), corner(0, s, 1, -1), corner(0, s, 1, 1), corner(0, s, -1, 1)},
                      centre, material, 0, place);
        convexPolygon(mesh, {corner(1, -1, s, -1), corner(1, 1, s, -1), corner(1, 1, s, 1), corner(1, -1, s, 1)},
                      centre, material, 0, place);
        convexPolygon(mesh, {corner(2, -1, -1, s), corner(2, 1, -1, s), corner(2, 1, 1, s), corner(2, -1, 1, s)},
                      centre, material, 0, place);
    }
    if (bevel <= 0.0f) return;
    for (int a : {-1, 1}) {
        for (int b : {-1, 1}) {
            // Edges along z, y and x.
            convexPolygon(mesh, {corner(0, a, b, -1), corner(0, a, b, 1), corner(1, a, b, 1), corner(1, a, b, -1)},
                          centre, material, round, place);
            convexPolygon(mesh, {corner(0, a, -1, b), corner(0, a, 1, b), corner(2, a, 1, b), corner(2, a, -1, b)},
                          centre, material, round, place);
            convexPolygon(mesh, {corner(1, -1, a, b), corner(1, 1, a, b), corner(2, 1, a, b), corner(2, -1, a, b)},
                          centre, material, round, place);
        }
    }
    for (int sx : {-1, 1}) {
        for (int sy : {-1, 1}) {
            for (int sz : {-1, 1}) {
                convexPolygon(mesh, {corner(0, sx, sy, sz), corner(1, sx, sy, sz), corner(2, sx, sy, sz)}, centre,
                              material, round, place);
            }
        }
    }
}

void extrude(MeshData& mesh, const std::vector<Vec3>& outline, float depth, const std::string& material,
             const Affine& place) {
    Vec3 inside{};
    for (Vec3 p : outline) inside = inside + p * (1.0f / static_cast<float>(outline.size()));
    const float front = depth / 2.0f;
    std::vector<Vec3> top;
    std::vector<Vec3> bottom;
    for (Vec3 p : outline) {
        top.push_back({p.x, p.y, front});
        bottom.push_back({p.x, p.y, -front});
    }
    convexPolygon(mesh, top, inside, material, 0, place);
    convexPolygon(mesh, bottom, inside, material, 0, place);
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const std::size_t k = (i + 1) % outline.size();
        convexPolygon(mesh, {bottom[i], bottom[k], top[k], top[i]}, inside, material, 0, place);
    }
}

void ellipsoid(MeshData& mesh, Vec3 radii, int segments, const std::string& material, std::uint32_t group,
               const Affine& place) {
    std::vector<ProfilePoint> profile;
    const int rings = segments / 2;
    for (int i = 0; i <= rings; ++i) {
        const double angle = kPi * i / rings;
        const float radius = i == 0 || i == rings ? 0.0f : static_cast<float>(std::sin(angle));
        profile.push_back({radius, static_cast<float>(-std::cos(angle))});
    }
    lathe(mesh, profile, segments, material, group, Affine::scale(radii).then(place));
}
