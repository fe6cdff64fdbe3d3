#include "FullGridMarchingCubes.h"

#include <GL/gl.h>

#include "effects/BallLanes.h"
#include "effects/MarchingCubesTables.h"
#include "effects/MetaballField.h"

void FullGridMarchingCubes::draw() {
    const int n = field.getResolution();
    const int side = n + 1;
    const float cell = field.getCellSize();
    const float threshold = field.getThreshold();
    values.assign(static_cast<size_t>(side) * side * side, 0.0f);
    evaluations = 0;
    // Normals the way the field computes them, so only the extraction differs.
    BallLanes lanes;
    lanes.assign(&field.ball(0), field.getBallCount());
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
                        lanes.normalAt(positions[e], normals[e]);
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
