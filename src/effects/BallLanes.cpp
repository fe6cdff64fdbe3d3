#include "effects/BallLanes.h"

#include <cmath>

#include "effects/Metaball.h"

void BallLanes::assign(const Metaball* balls, int count) {
    paddedCount = (count + 3) / 4 * 4;
    for (int i = 0; i < paddedCount; ++i) {
        const bool real = i < count;
        // Far away, so the padding never sits on a vertex.
        x[i] = real ? balls[i].position[0] : 1000.0f;
        y[i] = real ? balls[i].position[1] : 1000.0f;
        z[i] = real ? balls[i].position[2] : 1000.0f;
        strength[i] = real ? balls[i].strength : 0.0f;
    }
}

void BallLanes::normalAt(const float position[3], float normal[3]) const {
    // One partial sum per lane; the inner loop has a fixed length and no
    // branches so that the compiler turns it into vector instructions.
    float sumX[4] = {}, sumY[4] = {}, sumZ[4] = {};
    for (int i = 0; i < paddedCount; i += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            const float dx = position[0] - x[i + lane];
            const float dy = position[1] - y[i + lane];
            const float dz = position[2] - z[i + lane];
            const float dd = dx * dx + dy * dy + dz * dz;
            // A vertex on a centre gets nothing from that ball (d is zero)
            // instead of a division by zero.
            const float q = dd * dd;
            const float weight = 2.0f * strength[i + lane] / (q > 1e-30f ? q : 1e-30f);
            sumX[lane] += dx * weight;
            sumY[lane] += dy * weight;
            sumZ[lane] += dz * weight;
        }
    }
    float n[3] = {(sumX[0] + sumX[1]) + (sumX[2] + sumX[3]), (sumY[0] + sumY[1]) + (sumY[2] + sumY[3]),
                  (sumZ[0] + sumZ[1]) + (sumZ[2] + sumZ[3])};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int axis = 0; axis < 3; ++axis) normal[axis] = length > 0.0f ? n[axis] / length : 0.0f;
}
