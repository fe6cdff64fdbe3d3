#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "FullGridMarchingCubes.h"
#include "GlCallLog.h"
#include "GlContext.h"
#include "effects/FaceCrossingTable.h"
#include "effects/MetaballField.h"
#include "platform/ShowRandom.h"
#include "platform/Ticks.h"

namespace {

struct Ball {
    float x, y, z, strength;
};

// Triangles as sent, each starting at its smallest corner, sorted, corners
// rounded to 1e-5 so that the same surface computed twice compares equal.
std::vector<std::array<long, 9>> sorted(const glcalls::TriangleCapture& capture) {
    std::vector<std::array<long, 9>> all;
    for (const auto& t : capture.triangles) {
        std::array<std::array<long, 3>, 3> corners{};
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k < 3; ++k) corners[i][k] = std::lround(t[i].position[k] * 1e5);
        }
        std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
        all.push_back({corners[0][0], corners[0][1], corners[0][2], corners[1][0], corners[1][1], corners[1][2],
                       corners[2][0], corners[2][1], corners[2][2]});
    }
    std::sort(all.begin(), all.end());
    return all;
}

class MetaballFieldTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
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

    template <typename Draw>
    static glcalls::TriangleCapture capture(Draw draw) {
        glcalls::start();
        draw();
        glcalls::stop();
        return glcalls::triangles();
    }
    glcalls::TriangleCapture drawn() {
        return capture([&] { field.draw(); });
    }
    glcalls::TriangleCapture fullGrid() {
        FullGridMarchingCubes reference(field);
        return capture([&] { reference.draw(); });
    }

    MetaballField field;
};

}  // namespace

TEST_F(MetaballFieldTest, OneBallGivesTheSphereAtTheThresholdFacingOutwards) {
    place({{0, 0, 0, 1}});
    const auto sphere = drawn();
    ASSERT_GT(sphere.triangles.size(), 100u);
    // Linear interpolation of 1/r^2 along a 0.04 edge near r = 0.1414 is off
    // by at most h^2/8 * |f''/f'| = 0.0016/8 * 3/r, about 0.005 in radius.
    for (const auto& t : sphere.triangles) {
        for (const auto& v : t) {
            const float r = std::hypot(v.position[0], v.position[1], v.position[2]);
            EXPECT_NEAR(r, std::sqrt(1.0f / 50), 0.005f);
            EXPECT_NEAR(field.fieldAt(v.position[0], v.position[1], v.position[2]), 50.0f, 4.0f);
            const float radial =
                (v.normal[0] * v.position[0] + v.normal[1] * v.position[1] + v.normal[2] * v.position[2]) / r;
            EXPECT_NEAR(radial, 1.0f, 1e-4f);
        }
        // Front faces outwards: the winding normal points away from the centre.
        const float *a = t[0].position, *b = t[1].position, *c = t[2].position;
        const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        EXPECT_GT((u[1] * w[2] - u[2] * w[1]) * a[0] + (u[2] * w[0] - u[0] * w[2]) * a[1] +
                      (u[0] * w[1] - u[1] * w[0]) * a[2],
                  0.0f);
    }
}

TEST_F(MetaballFieldTest, SeedWalkStartsAtTheBallsCubeAndStepsDownToTheSurface) {
    place({{0, 0, 0, 1}});
    field.draw();
    // Cubes 25..22 along c are wholly inside: only the walk visits them.
    for (int c = 21; c <= 25; ++c) EXPECT_EQ(field.cubeState(25, 25, c), CubeState::Done) << c;
    EXPECT_EQ(field.cubeState(25, 25, 26), CubeState::Unvisited);
    EXPECT_EQ(field.cubeState(24, 25, 24), CubeState::Unvisited);
    // The nearest grid point, not the one below: y = 0.021 is grid point 26.
    place({{0.019f, 0.021f, 0, 1}});
    field.draw();
    EXPECT_EQ(field.cubeState(25, 26, 25), CubeState::Done);
    EXPECT_EQ(field.cubeState(25, 25, 25), CubeState::Unvisited);
}

TEST_F(MetaballFieldTest, SurfaceFollowingSendsTheFullGridTrianglesEachOnce) {
    const std::vector<std::vector<Ball>> cases = {
        {{-0.1f, 0, 0, 1}, {0.1f, 0.02f, 0, 1}},            // two merged into one surface
        {{0.2f, 0.2f, 0.2f, 1}, {0.2f, 0.2f, 0.2f, 1}},     // the second walk meets the first's cubes
        {{0, 0, 0, 4}, {0.05f, 0, -0.1f, 1}},               // a ball deep inside another
        {{-0.5f, 0, 0, 1}, {0.5f, 0, 0, 1}},                // two apart
        {{0.96f, 0.96f, -0.96f, 1}, {-0.96f, 0, 0.5f, 2}},  // pressed against the walls
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        place(cases[i]);
        const auto ours = drawn();
        ASSERT_FALSE(ours.triangles.empty()) << "case " << i;
        EXPECT_EQ(sorted(ours), sorted(fullGrid())) << "case " << i;
    }
}

TEST_F(MetaballFieldTest, LargeSurfaceIsSentInBatchesEachWithItsMaterialAndTexture) {
    std::srand(11);
    field.setBallCount(10);
    for (int i = 0; i < 400; ++i) field.update(0.05f);
    field.setDiffuse(0.25f, 0.5f, 0.75f, 1);
    field.setTextured(true);
    const auto ours = drawn();
    const auto log = glcalls::log();
    EXPECT_EQ(sorted(ours), sorted(fullGrid()));
    EXPECT_GT(field.stackCapacity(), 32);  // the flood outgrew the first stack
    ASSERT_GE(ours.batches, 2);

    int materials = 0, binds = 0, vertices = 0, batch = 0;
    for (const auto& call : log) {
        materials += call.name == "glMaterialfv";
        binds += call.name == "glBindTexture";
        vertices += call.name == "glVertex3fv";
        if (call.name == "glMaterialfv" && call.args[1] == GL_DIFFUSE) {
            EXPECT_EQ(call.args[2], 0.25);
        }
        if (call.name == "glBegin") {
            EXPECT_EQ(materials, 5) << "batch " << batch;
            EXPECT_EQ(binds, 1) << "batch " << batch;
            materials = binds = vertices = 0;
        } else if (call.name == "glEnd") {
            // Each batch but the last was sent when it reached 2970 indices.
            EXPECT_LE(vertices, 2985);
            EXPECT_TRUE(++batch == ours.batches || vertices >= 2970) << "batch " << batch;
        }
    }
}

TEST_F(MetaballFieldTest, CubesWhoseCornersAreNotAboveTheThresholdGiveNothing) {
    // Too weak to reach a grid point: its own cube is wholly outside, so its
    // seed pushes nothing and only that cube is visited.
    place({{0.015f, 0.015f, 0.015f, 0.01f}});
    EXPECT_TRUE(drawn().triangles.empty());
    int done = 0;
    for (int c = 0; c < 50; ++c)
        for (int b = 0; b < 50; ++b)
            for (int a = 0; a < 50; ++a) done += field.cubeState(a, b, c) == CubeState::Done;
    EXPECT_EQ(done, 1);

    // A grid point exactly at the threshold is outside; just above, inside.
    place({{0, 0, 0, 0.005f}});
    Metaball& ball = field.ball(0);
    while (field.fieldAt(0, 0, 0) < 50) ball.strength = std::nextafter(ball.strength, 1.0f);
    while (field.fieldAt(0, 0, 0) > 50) ball.strength = std::nextafter(ball.strength, 0.0f);
    ASSERT_EQ(field.gridToWorld(25), 0.0f);
    ASSERT_EQ(field.fieldAt(0, 0, 0), 50.0f);
    EXPECT_TRUE(drawn().triangles.empty());
    ball.strength = std::nextafter(ball.strength, 1.0f);
    EXPECT_EQ(drawn().triangles.size(), 8u);  // the corner cut off each of the eight cubes round it
}

TEST_F(MetaballFieldTest, FreshBallsRestAtTheOriginWithTargetsFromTheGenerator) {
    const auto expectFresh = [](const MetaballField& f, unsigned seed, int count) {
        std::srand(seed);
        for (int i = 0; i < count; ++i) {
            const Metaball& ball = f.ball(i);
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_EQ(ball.position[axis], 0.0f);
                EXPECT_EQ(ball.velocity[axis], 0.0f);
                EXPECT_FLOAT_EQ(ball.target[axis], 2 * (2 * (showRandom() / 32767.0) - 1));
                EXPECT_LE(std::fabs(ball.target[axis]), 2.0f);
            }
            EXPECT_FLOAT_EQ(ball.retargetTimer, showRandom() / 32767.0);
            EXPECT_EQ(ball.strength, 1.0f);
        }
    };
    // The constructor seeds from the clock, then draws four values per ball.
    platform::setTickSource([] { return 4242u; });
    MetaballField seeded;
    platform::setTickSource({});
    EXPECT_EQ(seeded.getBallCount(), 5);
    expectFresh(seeded, 4242, 5);

    field.ball(3).velocity[0] = 9;
    std::srand(7);
    field.setBallCount(7);
    expectFresh(field, 7, 7);
}

TEST_F(MetaballFieldTest, BallsSteerWithinTheSpeedLimitAndArePressedAgainstTheWalls) {
    field.setBallCount(1);
    Metaball& ball = field.ball(0);
    ball.target[0] = 3;
    ball.target[1] = 0.5f;
    ball.target[2] = -3;
    ball.retargetTimer = 1000;
    int stopped = 0;
    for (int i = 0; i < 300; ++i) {
        field.update(1.0f);
        ASSERT_LE(std::hypot(ball.velocity[0], ball.velocity[1], ball.velocity[2]), 0.2f + 1e-6f);
        if (i < 280) continue;
        // Each step pushes it out and the clamp puts it back and stops it.
        EXPECT_EQ(ball.position[0], 1 - field.getCellSize());
        EXPECT_EQ(ball.position[2], -1 + field.getCellSize());
        stopped += ball.velocity[0] == 0 && ball.velocity[2] == 0;
    }
    EXPECT_GE(stopped, 10);
    EXPECT_NEAR(ball.position[1], 0.5f, 0.2f);

    // An expired timer draws a new timer, then targets near the middle.
    ball.retargetTimer = 0.5f;
    std::srand(3);
    field.update(1.0f);
    std::srand(3);
    EXPECT_FLOAT_EQ(ball.retargetTimer, showRandom() / 32767.0);
    for (float target : ball.target) EXPECT_FLOAT_EQ(target, (2 * (showRandom() / 32767.0) - 1) / 2);

    // Sitting exactly on its target leaves a ball at rest rather than NaN.
    std::copy(ball.target, ball.target + 3, ball.position);
    std::fill(ball.velocity, ball.velocity + 3, 0.0f);
    field.update(0.0f);
    for (float v : ball.velocity) EXPECT_EQ(v, 0.0f);
}

TEST_F(MetaballFieldTest, DrawnFieldIsALitBlobWhereTheBallsAre) {
    clearShowView();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat light[4] = {0.3f, 0.5f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    place({{-0.45f, 0.1f, 0, 2}, {-0.25f, 0.15f, 0.05f, 1}, {0.5f, -0.3f, 0.2f, 1.5f}});
    field.setAmbient(0.2f, 0.2f, 0.2f, 1);
    // The show's view already moves the world 10 units towards the eye, so
    // this puts the unit field 2.5 units in front of it, filling the middle.
    glTranslatef(0, 0, -12.5f);
    field.draw();
    testsupport::saveFramePng(MARROWICK_BINARY_DIR "/test-screenshots/metaball-field.png", kWidth, kHeight);

    for (int i = 0; i < 3; ++i) {
        const float* p = field.ball(i).position;
        const auto [x, y] = testsupport::projected(p[0], p[1], p[2]);
        EXPECT_GT(testsupport::pixelAt(x, y)[0], 100) << i;
    }
    EXPECT_EQ(testsupport::pixelAt(5, 5)[0], 0);
    EXPECT_EQ(testsupport::pixelAt(320, 470)[0], 0);
}
