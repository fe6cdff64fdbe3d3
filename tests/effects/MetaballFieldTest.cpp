#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "../bench/FullGridMarchingCubes.h"
#include "GlCallLog.h"
#include "GlContext.h"
#include "effects/FaceCrossingTable.h"
#include "effects/MetaballField.h"
#include "effects/ShowRandom.h"
#include "platform/Ticks.h"

using testsupport::GlTest;

namespace {

struct Ball {
    float x, y, z, strength;
};

using Key = std::array<long, 3>;

Key keyOf(const float p[3]) {
    return {std::lround(p[0] * 1e5), std::lround(p[1] * 1e5), std::lround(p[2] * 1e5)};
}

// A triangle as its three corners in cyclic order, starting at the smallest.
std::array<Key, 3> canonical(const std::array<glcalls::Vertex, 3>& t) {
    std::array<Key, 3> keys{keyOf(t[0].position), keyOf(t[1].position), keyOf(t[2].position)};
    std::rotate(keys.begin(), std::min_element(keys.begin(), keys.end()), keys.end());
    return keys;
}

std::vector<std::array<Key, 3>> sortedTriangles(const glcalls::TriangleCapture& capture) {
    std::vector<std::array<Key, 3>> all;
    for (const auto& t : capture.triangles) all.push_back(canonical(t));
    std::sort(all.begin(), all.end());
    return all;
}

// Pieces of surface that share no vertex.
int components(const glcalls::TriangleCapture& capture) {
    std::map<Key, int> id;
    std::vector<int> parent;
    const auto find = [&](int i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    for (const auto& t : capture.triangles) {
        int first = -1;
        for (const auto& v : t) {
            auto [it, fresh] = id.emplace(keyOf(v.position), static_cast<int>(parent.size()));
            if (fresh) parent.push_back(it->second);
            if (first < 0) first = it->second;
            parent[find(it->second)] = find(first);
        }
    }
    int roots = 0;
    for (int i = 0; i < static_cast<int>(parent.size()); ++i) roots += find(i) == i;
    return roots;
}

class MetaballFieldTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        buildFaceCrossingTable();
        field.allocateVertexBuffer();
        field.allocateIndexBuffer();
        field.setResolution(50);
    }

    void place(const std::vector<Ball>& balls) {
        field.setBallCount(static_cast<int>(balls.size()));
        for (size_t i = 0; i < balls.size(); ++i) {
            Metaball& ball = field.ball(static_cast<int>(i));
            ball.position[0] = balls[i].x;
            ball.position[1] = balls[i].y;
            ball.position[2] = balls[i].z;
            ball.strength = balls[i].strength;
        }
    }

    glcalls::TriangleCapture drawn() {
        glcalls::start();
        field.draw();
        glcalls::stop();
        return glcalls::triangles();
    }

    glcalls::TriangleCapture fullGrid() {
        FullGridMarchingCubes reference(field);
        glcalls::start();
        reference.draw();
        glcalls::stop();
        return glcalls::triangles();
    }

    int cubesDone() const {
        int done = 0;
        for (int c = 0; c < 50; ++c)
            for (int b = 0; b < 50; ++b)
                for (int a = 0; a < 50; ++a) done += field.cubeState(a, b, c) == CubeState::Done;
        return done;
    }

    MetaballField field;
};

}  // namespace

TEST_F(MetaballFieldTest, OneBallGivesAClosedSphereAtTheThreshold) {
    place({{0, 0, 0, 1}});
    const auto capture = drawn();
    ASSERT_GT(capture.triangles.size(), 100u);
    // Linear interpolation of 1/r^2 over a 0.04 edge near r = 0.1414 is off by
    // at most h^2/8 * |f''/f'| = 0.0016/8 * 3/r, about 0.005 in radius.
    const float radius = std::sqrt(1.0f / 50.0f);
    std::map<std::pair<Key, Key>, int> sides;
    for (const auto& t : capture.triangles) {
        for (const auto& v : t) {
            const float r = std::sqrt(v.position[0] * v.position[0] + v.position[1] * v.position[1] +
                                      v.position[2] * v.position[2]);
            EXPECT_NEAR(r, radius, 0.005f);
            EXPECT_NEAR(field.fieldAt(v.position[0], v.position[1], v.position[2]), 50.0f, 4.0f);
            // Normals point straight away from the centre.
            float along = 0;
            for (int i = 0; i < 3; ++i) along += v.normal[i] * v.position[i] / r;
            EXPECT_NEAR(along, 1.0f, 1e-4f);
        }
        // Front faces outwards: the winding normal points away from the centre.
        const float* a = t[0].position;
        const float* b = t[1].position;
        const float* c = t[2].position;
        const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        EXPECT_GT(n[0] * a[0] + n[1] * a[1] + n[2] * a[2], 0.0f);
        for (int i = 0; i < 3; ++i) {
            Key p = keyOf(t[i].position), q = keyOf(t[(i + 1) % 3].position);
            if (q < p) std::swap(p, q);
            if (p != q) ++sides[{p, q}];
        }
    }
    // Closed: every side is shared by exactly two triangles.
    for (const auto& [side, count] : sides) EXPECT_EQ(count, 2);
    EXPECT_EQ(components(capture), 1);
}

TEST_F(MetaballFieldTest, SeedWalkStartsAtTheBallsCubeAndStepsDownToTheSurface) {
    place({{0, 0, 0, 1}});
    field.draw();
    // Cubes 25..22 along c are wholly inside: only the walk visits them.
    for (int c = 21; c <= 25; ++c) EXPECT_EQ(field.cubeState(25, 25, c), CubeState::Done) << c;
    EXPECT_EQ(field.cubeState(25, 25, 26), CubeState::Unvisited);
    EXPECT_EQ(field.cubeState(24, 25, 24), CubeState::Unvisited);

    // The nearest grid point, not the one below: y = 0.021 is grid 26.
    place({{0.019f, 0.021f, 0, 1}});
    field.draw();
    EXPECT_EQ(field.cubeState(25, 26, 25), CubeState::Done);
    EXPECT_EQ(field.cubeState(25, 25, 25), CubeState::Unvisited);
}

TEST_F(MetaballFieldTest, SurfaceFollowingGivesTheFullGridTrianglesEachOnce) {
    struct Case {
        std::string name;
        std::vector<Ball> balls;
        int pieces;
    };
    const std::vector<Case> cases = {
        {"merged pair", {{-0.1f, 0, 0, 1}, {0.1f, 0.02f, 0, 1}}, 1},
        {"same place", {{0.2f, 0.2f, 0.2f, 1}, {0.2f, 0.2f, 0.2f, 1}}, 1},
        {"far apart", {{-0.5f, 0, 0, 1}, {0.5f, 0, 0, 1}}, 2},
        // The first ball's flood reaches the second ball's walk.
        {"inside a bigger one", {{0, 0, 0, 4}, {0.05f, 0, -0.1f, 1}}, 1},
        {"against the walls", {{0.96f, 0.96f, -0.96f, 1}, {-0.96f, 0, 0.5f, 2}}, 2},
    };
    for (const Case& c : cases) {
        place(c.balls);
        const auto ours = drawn();
        const auto reference = fullGrid();
        ASSERT_FALSE(ours.triangles.empty()) << c.name;
        EXPECT_EQ(sortedTriangles(ours), sortedTriangles(reference)) << c.name;
        EXPECT_EQ(components(ours), c.pieces) << c.name;
    }
}

TEST_F(MetaballFieldTest, LargeSurfaceIsSentInBatchesEachWithItsMaterialAndTexture) {
    std::srand(11);
    field.setBallCount(10);
    for (int i = 0; i < 400; ++i) field.update(0.05f);
    field.setDiffuse(0.25f, 0.5f, 0.75f, 1);
    field.setTextured(true);

    const auto capture = drawn();
    const auto log = glcalls::log();
    EXPECT_EQ(sortedTriangles(capture), sortedTriangles(fullGrid()));
    EXPECT_GT(field.stackCapacity(), 32);
    ASSERT_GE(capture.batches, 2);

    int materialCalls = 0, bound = 0, triangles = 0, batch = 0;
    for (const auto& call : log) {
        if (call.name == "glMaterialfv") {
            ++materialCalls;
            if (call.args[1] == GL_DIFFUSE) {
                EXPECT_EQ(call.args[2], 0.25);
            }
        }
        if (call.name == "glBindTexture") ++bound;
        if (call.name == "glBegin") {
            EXPECT_EQ(materialCalls, 5) << "batch " << batch;
            EXPECT_EQ(bound, 1) << "batch " << batch;
            materialCalls = bound = triangles = 0;
        }
        if (call.name == "glVertex3fv") ++triangles;
        if (call.name == "glEnd") {
            // Every batch but the last was flushed when it reached 2970 indices.
            if (++batch < capture.batches) {
                EXPECT_GE(triangles, 2970);
            }
            EXPECT_LE(triangles, 2985);
        }
    }
}

TEST_F(MetaballFieldTest, BallsThatMissEveryGridPointDrawNothing) {
    // Too weak to reach any grid point, and not on one: its own cube is
    // wholly outside, so nothing is pushed and nothing drawn.
    place({{0.015f, 0.015f, 0.015f, 0.01f}});
    EXPECT_TRUE(drawn().triangles.empty());
    EXPECT_EQ(cubesDone(), 1);

    // A grid point exactly at the threshold is outside too; just above, inside.
    float strength = 0.005f;
    place({{field.gridToWorld(25), field.gridToWorld(25), field.gridToWorld(25), strength}});
    while (field.fieldAt(0, 0, 0) < 50.0f) field.ball(0).strength = strength = std::nextafter(strength, 1.0f);
    while (field.fieldAt(0, 0, 0) > 50.0f) field.ball(0).strength = strength = std::nextafter(strength, 0.0f);
    ASSERT_EQ(field.fieldAt(field.gridToWorld(25), field.gridToWorld(25), field.gridToWorld(25)), 50.0f);
    EXPECT_TRUE(drawn().triangles.empty());
    field.ball(0).strength = std::nextafter(strength, 1.0f);
    EXPECT_EQ(drawn().triangles.size(), 8u * 1u);  // a corner cut off in each of the 8 cubes round it
}

TEST_F(MetaballFieldTest, FreshBallsRestAtTheOriginWithTargetsFromTheGenerator) {
    // The constructor seeds from the clock, then draws four values per ball.
    platform::setTickSource([] { return 4242u; });
    MetaballField seeded;
    platform::setTickSource({});
    const auto expectBalls = [](const MetaballField& f, unsigned seed, int count) {
        std::srand(seed);
        for (int i = 0; i < count; ++i) {
            const Metaball& ball = f.ball(i);
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_EQ(ball.position[axis], 0.0f);
                EXPECT_EQ(ball.velocity[axis], 0.0f);
                EXPECT_FLOAT_EQ(ball.target[axis], 2 * (2 * (showRandom() / 32767.0) - 1));
                EXPECT_GE(ball.target[axis], -2.0f);
                EXPECT_LE(ball.target[axis], 2.0f);
            }
            EXPECT_FLOAT_EQ(ball.retargetTimer, showRandom() / 32767.0);
            EXPECT_EQ(ball.strength, 1.0f);
        }
    };
    EXPECT_EQ(seeded.getBallCount(), 5);
    expectBalls(seeded, 4242, 5);

    std::srand(7);
    field.ball(3).velocity[0] = 9;
    field.setBallCount(7);
    expectBalls(field, 7, 7);
}

TEST_F(MetaballFieldTest, BallsSteerWithinTheSpeedLimitAndStopAtTheWalls) {
    field.setBallCount(1);
    Metaball& ball = field.ball(0);
    ball.target[0] = 3;
    ball.target[1] = 0.5f;
    ball.target[2] = -3;
    ball.retargetTimer = 1000;
    for (int i = 0; i < 300; ++i) {
        field.update(1.0f);
        const float speed = std::sqrt(ball.velocity[0] * ball.velocity[0] + ball.velocity[1] * ball.velocity[1] +
                                      ball.velocity[2] * ball.velocity[2]);
        ASSERT_LE(speed, 0.2f + 1e-6f);
    }
    // Pressed against the wall: each step pushes it out and the clamp puts it
    // back and stops it, so it never leaves the wall and is stopped at least
    // every other step.
    int stopped = 0;
    for (int i = 0; i < 20; ++i) {
        field.update(1.0f);
        EXPECT_EQ(ball.position[0], 1 - field.getCellSize());
        EXPECT_EQ(ball.position[2], -1 + field.getCellSize());
        stopped += ball.velocity[0] == 0.0f && ball.velocity[2] == 0.0f;
    }
    EXPECT_GE(stopped, 10);
    EXPECT_NEAR(ball.position[1], 0.5f, 0.2f);

    // When its timer runs out the ball draws a new timer, then targets near the middle.
    ball.retargetTimer = 0.5f;
    std::srand(3);
    field.update(1.0f);
    std::srand(3);
    EXPECT_FLOAT_EQ(ball.retargetTimer, showRandom() / 32767.0);
    for (int axis = 0; axis < 3; ++axis) EXPECT_FLOAT_EQ(ball.target[axis], (2 * (showRandom() / 32767.0) - 1) / 2);

    // Sitting exactly on its target leaves a ball at rest, not NaN.
    for (int axis = 0; axis < 3; ++axis) {
        ball.position[axis] = ball.target[axis];
        ball.velocity[axis] = 0;
    }
    field.update(0.0f);
    for (float v : ball.velocity) EXPECT_EQ(v, 0.0f);
}

TEST_F(MetaballFieldTest, DrawnFieldIsALitBlobWhereTheBallsAre) {
    setShowProjection();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat light[4] = {0.3f, 0.5f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    place({{-0.45f, 0.1f, 0, 2}, {-0.25f, 0.15f, 0.05f, 1}, {0.5f, -0.3f, 0.2f, 1.5f}});
    field.setAmbient(0.2f, 0.2f, 0.2f, 1);
    glTranslatef(0, 0, -2.5f);
    field.draw();
    testsupport::saveFramePng(MARROWICK_BINARY_DIR "/test-screenshots/metaball-field.png", kWidth, kHeight);

    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    for (int i = 0; i < 3; ++i) {
        const Metaball& ball = field.ball(i);
        GLdouble x, y, z;
        gluProject(ball.position[0], ball.position[1], ball.position[2], model, projection, viewport, &x, &y, &z);
        const auto pixel = testsupport::pixelAt(static_cast<int>(x), kHeight - 1 - static_cast<int>(y));
        EXPECT_GT(pixel[0], 100) << "ball " << i;
    }
    EXPECT_EQ(testsupport::pixelAt(5, 5)[0], 0);
    EXPECT_EQ(testsupport::pixelAt(320, 470)[0], 0);
}
