#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <vector>

#include "effects/FaceCrossingTable.h"
#include "effects/MarchingCubesTables.h"

namespace {

using Triangle = std::array<int, 3>;
using Side = std::pair<int, int>;

std::vector<Triangle> rowTriangles(int mask) {
    std::vector<Triangle> triangles;
    for (const std::int8_t* e = triangleTable[mask]; *e != -1; e += 3) triangles.push_back({e[0], e[1], e[2]});
    return triangles;
}

// Triangles compared whichever edge each starts at, in any order.
std::multiset<Triangle> canonical(const std::vector<Triangle>& triangles) {
    std::multiset<Triangle> set;
    for (Triangle t : triangles) {
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
        set.insert(t);
    }
    return set;
}

bool inside(int mask, int corner) { return (mask >> corner) & 1; }
std::array<int, 3> offset(int corner) {
    return {cornerOffsets[corner].a, cornerOffsets[corner].b, cornerOffsets[corner].c};
}

// Directed triangle sides that no other triangle of the row runs back along:
// where the row's surface meets the faces of the cube.
std::set<Side> boundary(int mask) {
    std::multiset<Side> sides;
    for (const Triangle& t : rowTriangles(mask)) {
        for (int i = 0; i < 3; ++i) sides.insert({t[i], t[(i + 1) % 3]});
    }
    std::set<Side> open;
    for (const Side& s : sides) {
        if (!sides.count({s.second, s.first})) open.insert(s);
    }
    return open;
}

// Whether both corners of edge e have coordinate value on the axis.
bool edgeOnFace(int e, int axis, int value) {
    return offset(edgeCorners[e].first)[axis] == value && offset(edgeCorners[e].second)[axis] == value;
}

}  // namespace

TEST(TriangleTable, CheckedRowsHoldTheirTriangles) {
    const std::map<int, std::vector<Triangle>> checked = {
        {1, {{3, 0, 8}}},
        {2, {{9, 0, 1}}},
        {3, {{3, 1, 8}, {1, 9, 8}}},
        {4, {{11, 1, 2}}},
        {6, {{11, 9, 2}, {9, 0, 2}}},
        {7, {{3, 2, 8}, {8, 2, 11}, {8, 11, 9}}},
        {8, {{2, 3, 10}}},
        {15, {{11, 9, 8}, {10, 11, 8}}},
        {16, {{8, 4, 7}}},
        {128, {{10, 7, 6}}},
        {254, {{8, 0, 3}}},
        {0, {}},
        {255, {}},
    };
    for (const auto& [mask, triangles] : checked) {
        EXPECT_EQ(canonical(rowTriangles(mask)), canonical(triangles)) << "row " << mask;
    }
}

TEST(TriangleTable, EveryRowCutsExactlyTheCrossedEdgesFacingOutwards) {
    for (int mask = 0; mask < 256; ++mask) {
        const std::int8_t* row = triangleTable[mask];
        const int length = static_cast<int>(std::find(row, row + 16, -1) - row);
        ASSERT_LE(length, 15) << "row " << mask;
        EXPECT_EQ(length % 3, 0) << "row " << mask;
        EXPECT_TRUE(std::all_of(row + length, row + 16, [](int e) { return e == -1; })) << "row " << mask;
        std::set<int> crossed;
        for (int e = 0; e < 12; ++e) {
            if (inside(mask, edgeCorners[e].first) != inside(mask, edgeCorners[e].second)) crossed.insert(e);
        }
        EXPECT_EQ(std::set<int>(row, row + length), crossed) << "row " << mask;

        // Counter-clockwise from the low-value side: the winding normal of the
        // triangle through its edges' midpoints points the way those edges run
        // from their inside corner to their outside one.
        for (const Triangle& t : rowTriangles(mask)) {
            std::array<std::array<double, 3>, 3> p{};
            std::array<double, 3> outward{};
            for (int i = 0; i < 3; ++i) {
                int in = edgeCorners[t[i]].first, out = edgeCorners[t[i]].second;
                if (!inside(mask, in)) std::swap(in, out);
                for (int k = 0; k < 3; ++k) {
                    p[i][k] = (offset(in)[k] + offset(out)[k]) / 2.0;
                    outward[k] += offset(out)[k] - offset(in)[k];
                }
            }
            const std::array<double, 3> u{p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
            const std::array<double, 3> v{p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
            const double facing = (u[1] * v[2] - u[2] * v[1]) * outward[0] + (u[2] * v[0] - u[0] * v[2]) * outward[1] +
                                  (u[0] * v[1] - u[1] * v[0]) * outward[2];
            EXPECT_GT(facing, 0) << "row " << mask << ": " << t[0] << " " << t[1] << " " << t[2];
        }
    }
}

TEST(TriangleTable, NeighbouringCubesMeetWithoutCracks) {
    // A cube and its neighbour one step along an axis share a face. Whatever
    // their other corners, their surfaces must run along that face in
    // opposite directions, segment for segment.
    for (int axis = 0; axis < 3; ++axis) {
        int across[8] = {-1, -1, -1, -1, -1, -1, -1, -1};  // our far-face corner -> the neighbour's near one
        for (int k = 0; k < 8; ++k) {
            for (int m = 0; m < 8; ++m) {
                auto o = offset(k);
                o[axis] -= 1;
                if (offset(k)[axis] == 1 && offset(m) == o) across[k] = m;
            }
        }
        const auto edgeAcross = [&](int e) {
            const int p = across[edgeCorners[e].first], q = across[edgeCorners[e].second];
            for (int f = 0; f < 12; ++f) {
                if (std::minmax(p, q) == std::minmax(edgeCorners[f].first, edgeCorners[f].second)) return f;
            }
            return -1;
        };
        for (int ours = 0; ours < 256; ++ours) {
            int shared = 0, free = 0;  // the neighbour's corners on the shared face, and the others
            for (int k = 0; k < 8; ++k) {
                if (across[k] >= 0 && inside(ours, k)) shared |= 1 << across[k];
                if (across[k] >= 0) free |= 1 << k;
            }
            std::set<Side> expected;
            for (const auto& [from, to] : boundary(ours)) {
                if (edgeOnFace(from, axis, 1) && edgeOnFace(to, axis, 1)) {
                    expected.insert({edgeAcross(to), edgeAcross(from)});
                }
            }
            for (int rest = free;; rest = (rest - 1) & free) {  // every subset of the free corners
                std::set<Side> theirs;
                for (const Side& s : boundary(shared | rest)) {
                    if (edgeOnFace(s.first, axis, 0) && edgeOnFace(s.second, axis, 0)) theirs.insert(s);
                }
                ASSERT_EQ(theirs, expected) << "axis " << axis << ", masks " << ours << " and " << (shared | rest);
                if (rest == 0) break;
            }
        }
    }
}

TEST(FaceCrossingTable, NamesTheFacesTheSurfaceMeets) {
    EXPECT_EQ(faceCrossingTable[0], 0);
    EXPECT_EQ(faceCrossingTable[255], 0);
    EXPECT_EQ(faceCrossingTable[1], 42);  // -a, -b and -c
    // The flood must cross exactly the faces the triangle table's surface meets.
    for (int mask = 0; mask < 256; ++mask) {
        int met = 0;
        for (const auto& [from, to] : boundary(mask)) {
            for (int face = 0; face < 6; ++face) {
                const int axis = face / 2, value = face % 2 == 0 ? 1 : 0;  // +a, -a, +b, -b, +c, -c
                if (edgeOnFace(from, axis, value) && edgeOnFace(to, axis, value)) met |= 1 << face;
            }
        }
        EXPECT_EQ(faceCrossingTable[mask], met) << "mask " << mask;
    }
}
