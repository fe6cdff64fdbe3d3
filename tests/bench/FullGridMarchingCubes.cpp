#include "FullGridMarchingCubes.h"

#include <GL/gl.h>

#include <cmath>

#include "effects/MarchingCubesTables.h"
#include "effects/MetaballField.h"

namespace {

// The same normal as the field's own: the negated gradient, normalised.
void normalAt(const MetaballField& field, const float position[3], float normal[3]) {
    normal[0] = normal[1] = normal[2] = 0.0f;
    for (int i = 0; i < field.getBallCount(); ++i) {
        const Metaball& ball = field.ball(i);
        float d[3];
        for (int axis = 0; axis < 3; ++axis) d[axis] = position[axis] - ball.position[axis];
        const float dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        const float q = dd * dd;
        if (q <= 0.0f) continue;
        const float weight = 2.0f * ball.strength / q;
        for (int axis = 0; axis < 3; ++axis) normal[axis] += d[axis] * weight;
    }
    const float length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    if (length > 0.0f) {
        for (int axis = 0; axis < 3; ++axis) normal[axis] /= length;
    }
}

}  // namespace

void FullGridMarchingCubes::draw() {
    const int n = field.getResolution();
    const int side = n + 1;
    const float cell = field.getCellSize();
    const float threshold = field.getThreshold();
    values.assign(static_cast<size_t>(side) * side * side, 0.0f);
    evaluations = 0;
    for (int k = 1; k < n; ++k) {
        for (int j = 1; j < n; ++j) {
            for (int i = 1; i < n; ++i) {
                values[i + side * (j + side * k)] =
                    field.fieldAt(field.gridToWorld(i), field.gridToWorld(j), field.gridToWorld(k));
                ++evaluations;
            }
        }
    }

    glBegin(GL_TRIANGLES);
    for (int c = 0; c < n; ++c) {
        for (int b = 0; b < n; ++b) {
            for (int a = 0; a < n; ++a) {
                float value[8];
                int mask = 0;
                for (int corner = 0; corner < 8; ++corner) {
                    const CornerOffset& o = cornerOffsets[corner];
                    value[corner] = values[(a + o.a) + side * ((b + o.b) + side * (c + o.c))];
                    if (value[corner] > threshold) mask |= 1 << corner;
                }
                if (mask == 0 || mask == 255) continue;

                const float base[3] = {field.gridToWorld(a), field.gridToWorld(b), field.gridToWorld(c)};
                // Each edge's vertex and normal once per cube, as the field does.
                float positions[12][3];
                float normals[12][3];
                bool made[12] = {};
                for (const std::int8_t* edge = triangleTable[mask]; *edge != -1; ++edge) {
                    const int e = *edge;
                    if (!made[e]) {
                        const EdgeCorners& corners = edgeCorners[e];
                        const CornerOffset& p = cornerOffsets[corners.first];
                        const CornerOffset& q = cornerOffsets[corners.second];
                        const float t =
                            (threshold - value[corners.first]) / (value[corners.second] - value[corners.first]);
                        positions[e][0] = ((1.0f - t) * p.a + t * q.a) * cell + base[0];
                        positions[e][1] = ((1.0f - t) * p.b + t * q.b) * cell + base[1];
                        positions[e][2] = ((1.0f - t) * p.c + t * q.c) * cell + base[2];
                        normalAt(field, positions[e], normals[e]);
                        made[e] = true;
                    }
                    glNormal3fv(normals[e]);
                    glVertex3fv(positions[e]);
                }
            }
        }
    }
    glEnd();
}
