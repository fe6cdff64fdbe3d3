// An iso-surface of up to 100 drifting inverse-square balls, turned into lit
// triangles every frame by marching cubes. The extraction walks from each
// ball to the surface and floods only the cubes the surface passes through,
// so its cost follows the surface area rather than the grid volume.
#pragma once

#include <cstdint>
#include <memory>

#include "effects/BallLanes.h"
#include "effects/Metaball.h"
#include "render/Material.h"
#include "render/Texture.h"

struct MeshVertex {
    float position[3];
    float normal[3];
    float u, v;
};

enum class CubeState : std::uint8_t { Unvisited = 0, Done = 1, Queued = 2 };

class MetaballField {
public:
    static constexpr int maxBalls = 100;
    static constexpr int bufferCapacity = 3000;
    // One cube adds at most 15 indices and 12 vertices, so flushing here
    // keeps both buffers from overflowing.
    static constexpr int flushIndexCount = 2970;

    // Re-seeds the C library generator from the clock, then sets up five balls.
    MetaballField();
    MetaballField(const MetaballField&) = delete;
    MetaballField& operator=(const MetaballField&) = delete;

    void allocateVertexBuffer();
    void allocateIndexBuffer();
    // n cubes per axis over [-1, 1]. The grid arrays are cleared by draw().
    void setResolution(int n);
    // Puts n fresh balls at the origin (at most maxBalls).
    void setBallCount(int n);
    void setTextured(bool flag) { textured = flag; }
    void loadTexture(const char* path);

    void setAmbient(float r, float g, float b, float a) { material.setAmbient(r, g, b, a); }
    void setDiffuse(float r, float g, float b, float a) { material.setDiffuse(r, g, b, a); }
    void setSpecular(float r, float g, float b, float a) { material.setSpecular(r, g, b, a); }
    void setShininess(float exponent, float b, float c, float d) { material.setShininess(exponent, b, c, d); }
    void setEmission(float r, float g, float b, float a) { material.setEmission(r, g, b, a); }
    void setFace(GLenum face) { material.setFace(face); }

    // Steers the balls towards their targets; speeds are per unit of dt.
    void update(float dt);
    // Needs setResolution and both buffers.
    void draw();

    // Summed field of the active balls at a point in world coordinates.
    float fieldAt(float x, float y, float z) const;

    int getBallCount() const { return ballCount; }
    Metaball& ball(int index) { return balls[index]; }
    const Metaball& ball(int index) const { return balls[index]; }
    float getThreshold() const { return threshold; }
    int getResolution() const { return resolution; }
    float getCellSize() const { return cellSize; }
    float gridToWorld(int i) const { return static_cast<float>(i) * cellSize - 1.0f; }

    // What the last draw did, for tests and measurements.
    CubeState cubeState(int a, int b, int c) const { return cubeStates[cubeIndex(a, b, c)]; }
    int fieldEvaluations() const { return evaluations; }
    int stackCapacity() const { return stackSize; }

private:
    struct CubeCoord {
        int a, b, c;
    };

    int worldToGrid(float x) const { return static_cast<int>((x + 1.0f) / cellSize + 0.5f); }
    int pointIndex(int i, int j, int k) const { return i + (resolution + 1) * (j + (resolution + 1) * k); }
    int cubeIndex(int a, int b, int c) const { return a + resolution * (b + resolution * c); }

    void initialiseBalls();
    void seedFromBall(const Metaball& ball);
    float gridValue(int i, int j, int k);
    int polygoniseCube(int a, int b, int c);
    void vertexNormal(MeshVertex& vertex) const;
    void pushCube(int a, int b, int c);
    void pushNeighbours(int mask, int a, int b, int c);
    void flushTriangles();

    Material material;
    float threshold = 50.0f;
    int ballCount = 5;
    Metaball balls[maxBalls] = {};

    int stackTop = 0;
    int stackSize = 32;
    std::unique_ptr<CubeCoord[]> stack;

    int resolution = 0;
    float cellSize = 0.0f;
    std::unique_ptr<float[]> gridValues;
    std::unique_ptr<std::uint8_t[]> valueKnown;
    std::unique_ptr<CubeState[]> cubeStates;

    int vertexCount = 0;
    int indexCount = 0;
    std::unique_ptr<MeshVertex[]> meshBuffer;
    std::unique_ptr<std::uint16_t[]> indexBuffer;

    Texture texture;
    bool textured = false;

    BallLanes lanes;  // the balls as draw() found them, for the normals

    int evaluations = 0;
};
