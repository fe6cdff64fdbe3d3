#include "effects/MetaballField.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "effects/FaceCrossingTable.h"
#include "effects/MarchingCubesTables.h"
#include "platform/ShowRandom.h"
#include "platform/Ticks.h"

static_assert(MetaballField::maxBalls <= BallLanes::capacity, "every ball needs a lane");

namespace {

// A fresh value in [0, 1] from the C library generator.
double unitRandom() { return showRandom() / 32767.0; }

}  // namespace

MetaballField::MetaballField() : stack(new CubeCoord[32]) {
    // The last seeding of start-up: it fixes every later rand() of the show.
    seedShowRandom(platform::tickCount());
    initialiseBalls();
}

void MetaballField::allocateVertexBuffer() { meshBuffer.reset(new MeshVertex[bufferCapacity]); }

void MetaballField::allocateIndexBuffer() { indexBuffer.reset(new std::uint16_t[bufferCapacity]); }

void MetaballField::setResolution(int n) {
    cellSize = 2.0f / static_cast<float>(n);
    resolution = n;
    const int points = (n + 1) * (n + 1) * (n + 1);
    gridValues.reset(new float[points]);
    valueKnown.reset(new std::uint8_t[points]);
    cubeStates.reset(new CubeState[n * n * n]);
}

void MetaballField::setBallCount(int n) {
    ballCount = std::clamp(n, 0, maxBalls);
    initialiseBalls();
}

void MetaballField::loadTexture(const char* path) {
    texture.setFormat(TextureFormat::Jpg);
    texture.load(path);
}

void MetaballField::initialiseBalls() {
    for (int i = 0; i < ballCount; ++i) {
        Metaball& ball = balls[i];
        for (int axis = 0; axis < 3; ++axis) {
            ball.position[axis] = 0.0f;
            ball.velocity[axis] = 0.0f;
        }
        // The first targets may lie outside the grid; the wall holds the ball.
        for (float& target : ball.target) target = static_cast<float>(2.0 * (2.0 * unitRandom() - 1.0));
        ball.retargetTimer = static_cast<float>(unitRandom());
        ball.strength = 1.0f;
    }
}

void MetaballField::update(float dt) {
    const float low = -1.0f + cellSize;
    const float high = 1.0f - cellSize;
    for (int i = 0; i < ballCount; ++i) {
        Metaball& ball = balls[i];
        for (int axis = 0; axis < 3; ++axis) ball.position[axis] += dt * ball.velocity[axis];

        ball.retargetTimer -= dt;
        if (ball.retargetTimer < 0.0f) {
            ball.retargetTimer = static_cast<float>(unitRandom());
            for (float& target : ball.target) target = static_cast<float>((2.0 * unitRandom() - 1.0) / 2.0);
        }

        float direction[3];
        float lengthSquared = 0.0f;
        for (int axis = 0; axis < 3; ++axis) {
            direction[axis] = ball.target[axis] - ball.position[axis];
            lengthSquared += direction[axis] * direction[axis];
        }
        // A ball sitting exactly on its target has no direction to steer in;
        // dividing by the zero length would poison it with NaNs for good.
        if (lengthSquared > 0.0f) {
            const float length = std::sqrt(lengthSquared);
            for (int axis = 0; axis < 3; ++axis) ball.velocity[axis] += 0.1f * (direction[axis] / length) * dt;
        }

        float speedSquared = 0.0f;
        for (float component : ball.velocity) speedSquared += component * component;
        if (speedSquared > 0.04f) {
            const float scale = 0.2f / std::sqrt(speedSquared);
            for (float& component : ball.velocity) component *= scale;
        }

        // Keep every centre a cell inside the grid, so its seed cube exists.
        for (int axis = 0; axis < 3; ++axis) {
            if (ball.position[axis] < low) {
                ball.position[axis] = low;
                ball.velocity[axis] = 0.0f;
            }
            if (ball.position[axis] > high) {
                ball.position[axis] = high;
                ball.velocity[axis] = 0.0f;
            }
        }
    }
}

float MetaballField::fieldAt(float x, float y, float z) const {
    float sum = 0.0f;
    for (int i = 0; i < ballCount; ++i) {
        const Metaball& ball = balls[i];
        const float dx = x - ball.position[0];
        const float dy = y - ball.position[1];
        const float dz = z - ball.position[2];
        sum += ball.strength / std::max(dx * dx + dy * dy + dz * dz, 0.0001f);
    }
    return sum;
}

float MetaballField::gridValue(int i, int j, int k) {
    const int index = pointIndex(i, j, k);
    if (valueKnown[index]) return gridValues[index];
    float value = 0.0f;
    // The outermost layer is always outside, which closes the surface at the
    // border and keeps the walk and the flood inside the grid.
    if (i != 0 && j != 0 && k != 0 && i != resolution && j != resolution && k != resolution) {
        value = fieldAt(gridToWorld(i), gridToWorld(j), gridToWorld(k));
        ++evaluations;
    }
    gridValues[index] = value;
    valueKnown[index] = 1;
    return value;
}

int MetaballField::polygoniseCube(int a, int b, int c) {
    float value[8];
    int mask = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const CornerOffset& offset = cornerOffsets[corner];
        value[corner] = gridValue(a + offset.a, b + offset.b, c + offset.c);
        if (value[corner] > threshold) mask |= 1 << corner;
    }

    const float base[3] = {gridToWorld(a), gridToWorld(b), gridToWorld(c)};
    // Vertices are shared between the triangles of this cube only.
    int edgeVertex[12];
    std::fill(std::begin(edgeVertex), std::end(edgeVertex), -1);
    for (const std::int8_t* edge = triangleTable[mask]; *edge != -1; ++edge) {
        int& slot = edgeVertex[*edge];
        if (slot < 0) {
            slot = vertexCount;
            const EdgeCorners& corners = edgeCorners[*edge];
            const CornerOffset& p = cornerOffsets[corners.first];
            const CornerOffset& q = cornerOffsets[corners.second];
            const float t = (threshold - value[corners.first]) / (value[corners.second] - value[corners.first]);
            MeshVertex& vertex = meshBuffer[vertexCount];
            vertex.position[0] = ((1.0f - t) * p.a + t * q.a) * cellSize + base[0];
            vertex.position[1] = ((1.0f - t) * p.b + t * q.b) * cellSize + base[1];
            vertex.position[2] = ((1.0f - t) * p.c + t * q.c) * cellSize + base[2];
            vertexNormal(vertex);
            ++vertexCount;
        }
        indexBuffer[indexCount++] = static_cast<std::uint16_t>(slot);
    }

    cubeStates[cubeIndex(a, b, c)] = CubeState::Done;
    if (indexCount >= flushIndexCount) {
        flushTriangles();
        vertexCount = 0;
        indexCount = 0;
    }
    return mask;
}

void MetaballField::vertexNormal(MeshVertex& vertex) const {
    lanes.normalAt(vertex.position, vertex.normal);
    vertex.u = vertex.normal[0] / 2.0f + 0.5f;
    vertex.v = -vertex.normal[1] / 2.0f + 0.5f;
}

void MetaballField::pushCube(int a, int b, int c) {
    CubeState& state = cubeStates[cubeIndex(a, b, c)];
    if (state != CubeState::Unvisited) return;
    if (stackTop == stackSize) {
        std::unique_ptr<CubeCoord[]> grown(new CubeCoord[2 * stackSize]);
        std::copy(stack.get(), stack.get() + stackTop, grown.get());
        stack = std::move(grown);
        stackSize *= 2;
    }
    stack[stackTop++] = CubeCoord{a, b, c};
    state = CubeState::Queued;
}

void MetaballField::pushNeighbours(int mask, int a, int b, int c) {
    const std::uint8_t faces = faceCrossingTable[mask];
    if (faces & FacePlusA) pushCube(a + 1, b, c);
    if (faces & FaceMinusA) pushCube(a - 1, b, c);
    if (faces & FacePlusB) pushCube(a, b + 1, c);
    if (faces & FaceMinusB) pushCube(a, b - 1, c);
    if (faces & FacePlusC) pushCube(a, b, c + 1);
    if (faces & FaceMinusC) pushCube(a, b, c - 1);
}

void MetaballField::seedFromBall(const Metaball& ball) {
    int a = worldToGrid(ball.position[0]);
    int b = worldToGrid(ball.position[1]);
    int c = worldToGrid(ball.position[2]);
    // update() keeps centres inside; a ball placed by hand outside the grid
    // has no cube to start from.
    if (std::min({a, b, c}) < 0 || std::max({a, b, c}) >= resolution) return;

    // Walk down through cubes that are wholly inside until one is cut by the
    // surface; the zero border stops the walk at c = 0 at the latest.
    int mask = 0;
    for (;;) {
        if (cubeStates[cubeIndex(a, b, c)] == CubeState::Done) return;
        mask = polygoniseCube(a, b, c);
        if (mask < 255) break;
        --c;
    }
    pushNeighbours(mask, a, b, c);
    while (stackTop > 0) {
        const CubeCoord cube = stack[--stackTop];
        pushNeighbours(polygoniseCube(cube.a, cube.b, cube.c), cube.a, cube.b, cube.c);
    }
}

void MetaballField::draw() {
    vertexCount = 0;
    indexCount = 0;
    evaluations = 0;
    const int points = (resolution + 1) * (resolution + 1) * (resolution + 1);
    std::memset(valueKnown.get(), 0, points);
    std::memset(static_cast<void*>(cubeStates.get()), 0, resolution * resolution * resolution);
    lanes.assign(balls, ballCount);
    for (int i = 0; i < ballCount; ++i) seedFromBall(balls[i]);
    flushTriangles();
}

void MetaballField::flushTriangles() {
    material.apply();
    if (textured) {
        texture.bind();
    } else {
        texture.unbind();
    }
    const int sent = indexCount / 3 * 3;
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < sent; ++i) {
        const MeshVertex& vertex = meshBuffer[indexBuffer[i]];
        // The coordinates come from the normal, so a bound picture wraps the
        // surface like an environment map.
        if (textured) glTexCoord2f(vertex.u, vertex.v);
        glNormal3fv(vertex.normal);
        glVertex3fv(vertex.position);
    }
    glEnd();
}
