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

std::vector<Triangle> rowTriangles(int mask) {
    std::vector<Triangle> triangles;
    const std::int8_t* row = triangleTable[mask];
    for (int i = 0; row[i] != -1; i += 3) triangles.push_back({row[i], row[i + 1], row[i + 2]});
    return triangles;
}

// The same triangle whichever edge it starts at.
Triangle canonical(Triangle t) {
    std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    return t;
}

std::multiset<Triangle> canonicalRow(const std::vector<Triangle>& triangles) {
    std::multiset<Triangle> set;
    for (const Triangle& t : triangles) set.insert(canonical(t));
    return set;
}

bool inside(int mask, int corner) { return (mask >> corner) & 1; }

std::array<double, 3> midpoint(int edge) {
    const CornerOffset& p = cornerOffsets[edgeCorners[edge].first];
    const CornerOffset& q = cornerOffsets[edgeCorners[edge].second];
    return {(p.a + q.a) / 2.0, (p.b + q.b) / 2.0, (p.c + q.c) / 2.0};
}

// Directed triangle sides of a row that no other triangle of the row runs
// back along: where the row's surface meets the cube's faces.
std::set<std::pair<int, int>> boundary(int mask) {
    std::multiset<std::pair<int, int>> sides;
    for (const Triangle& t : rowTriangles(mask)) {
        for (int i = 0; i < 3; ++i) sides.insert({t[i], t[(i + 1) % 3]});
    }
    std::set<std::pair<int, int>> open;
    for (const auto& side : sides) {
        if (!sides.count({side.second, side.first})) open.insert(side);
    }
    return open;
}

int edgeBetween(int p, int q) {
    for (int e = 0; e < 12; ++e) {
        const EdgeCorners& corners = edgeCorners[e];
        if ((corners.first == p && corners.second == q) || (corners.first == q && corners.second == p)) return e;
    }
    return -1;
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
    };
    for (const auto& [mask, triangles] : checked) {
        EXPECT_EQ(canonicalRow(rowTriangles(mask)), canonicalRow(triangles)) << "row " << mask;
    }
    EXPECT_TRUE(rowTriangles(0).empty());
    EXPECT_TRUE(rowTriangles(255).empty());
}

TEST(TriangleTable, EveryRowCutsExactlyTheCrossedEdgesFacingOutwards) {
    for (int mask = 0; mask < 256; ++mask) {
        const std::int8_t* row = triangleTable[mask];
        int length = 0;
        while (length < 16 && row[length] != -1) ++length;
        ASSERT_LE(length, 15) << "row " << mask;
        EXPECT_EQ(length % 3, 0) << "row " << mask;
        for (int i = length; i < 16; ++i) EXPECT_EQ(row[i], -1) << "row " << mask;

        std::set<int> used(row, row + length);
        std::set<int> crossed;
        for (int e = 0; e < 12; ++e) {
            if (inside(mask, edgeCorners[e].first) != inside(mask, edgeCorners[e].second)) crossed.insert(e);
        }
        EXPECT_EQ(used, crossed) << "row " << mask;

        // Counter-clockwise from the low-value side: the winding normal points
        // the way its edges run from inside corners to outside ones.
        for (const Triangle& t : rowTriangles(mask)) {
            const auto a = midpoint(t[0]), b = midpoint(t[1]), c = midpoint(t[2]);
            const std::array<double, 3> u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const std::array<double, 3> v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const std::array<double, 3> normal{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                               u[0] * v[1] - u[1] * v[0]};
            double outward = 0;
            for (int e : t) {
                int in = edgeCorners[e].first, out = edgeCorners[e].second;
                if (!inside(mask, in)) std::swap(in, out);
                const CornerOffset &p = cornerOffsets[in], &q = cornerOffsets[out];
                outward += normal[0] * (q.a - p.a) + normal[1] * (q.b - p.b) + normal[2] * (q.c - p.c);
            }
            EXPECT_GT(outward, 0) << "row " << mask << " triangle " << t[0] << " " << t[1] << " " << t[2];
        }
    }
}

TEST(TriangleTable, NeighbouringCubesMeetWithoutCracks) {
    // For each axis: a cube and its neighbour one step along it share a face;
    // whatever the corners off that face, the two surfaces must run along the
    // shared face in opposite directions, segment for segment.
    for (int axis = 0; axis < 3; ++axis) {
        int across[8];  // corner of the neighbour at the same place, or -1
        std::array<int, 12> edgeAcross;
        for (int k = 0; k < 8; ++k) {
            const int o[3] = {cornerOffsets[k].a, cornerOffsets[k].b, cornerOffsets[k].c};
            across[k] = -1;
            if (o[axis] != 1) continue;
            for (int m = 0; m < 8; ++m) {
                const int n[3] = {cornerOffsets[m].a, cornerOffsets[m].b, cornerOffsets[m].c};
                bool same = n[axis] == 0;
                for (int other = 0; other < 3; ++other) same = same && (other == axis || n[other] == o[other]);
                if (same) across[k] = m;
            }
        }
        for (int e = 0; e < 12; ++e) {
            const int p = across[edgeCorners[e].first], q = across[edgeCorners[e].second];
            edgeAcross[e] = (p < 0 || q < 0) ? -1 : edgeBetween(p, q);
        }
        std::vector<std::set<std::pair<int, int>>> boundaries;
        for (int mask = 0; mask < 256; ++mask) boundaries.push_back(boundary(mask));
        for (int mask = 0; mask < 256; ++mask) {
            std::set<std::pair<int, int>> ours;
            int neighbourMask = 0;
            for (int k = 0; k < 8; ++k) {
                if (across[k] >= 0 && inside(mask, k)) neighbourMask |= 1 << across[k];
            }
            for (const auto& [from, to] : boundaries[mask]) {
                if (edgeAcross[from] >= 0 && edgeAcross[to] >= 0) ours.insert({edgeAcross[to], edgeAcross[from]});
            }
            // Any corners off the shared face will do for the neighbour.
            for (int rest = 0; rest < 256; ++rest) {
                int full = neighbourMask;
                for (int k = 0; k < 8; ++k) {
                    const bool offFace = across[k] >= 0;  // the neighbour's far face is where ours is near
                    if (offFace && ((rest >> k) & 1)) full |= 1 << k;
                }
                std::set<std::pair<int, int>> theirs;
                for (const auto& side : boundaries[full]) {
                    const auto onFace = [&](int e) {
                        return std::find(edgeAcross.begin(), edgeAcross.end(), e) != edgeAcross.end();
                    };
                    if (onFace(side.first) && onFace(side.second)) theirs.insert(side);
                }
                ASSERT_EQ(ours, theirs) << "axis " << axis << " masks " << mask << ", " << full;
            }
        }
    }
}

TEST(FaceCrossingTable, NamesTheFacesTheSurfaceCrosses) {
    buildFaceCrossingTable();
    EXPECT_EQ(faceCrossingTable[0], 0);
    EXPECT_EQ(faceCrossingTable[255], 0);
    EXPECT_EQ(faceCrossingTable[1], 42);  // -a, -b and -c
    // Agrees with the triangle table: a face is crossed when the surface of
    // the cube meets it.
    const int faceAxis[6] = {0, 0, 1, 1, 2, 2};
    const int faceSide[6] = {1, 0, 1, 0, 1, 0};
    for (int mask = 0; mask < 256; ++mask) {
        int met = 0;
        for (const auto& side : boundary(mask)) {
            for (int f = 0; f < 6; ++f) {
                bool both = true;
                for (int e : {side.first, side.second}) {
                    for (int corner : {edgeCorners[e].first, edgeCorners[e].second}) {
                        const int o[3] = {cornerOffsets[corner].a, cornerOffsets[corner].b, cornerOffsets[corner].c};
                        both = both && o[faceAxis[f]] == faceSide[f];
                    }
                }
                if (both) met |= 1 << f;
            }
        }
        EXPECT_EQ(faceCrossingTable[mask], met) << "mask " << mask;
    }
}
