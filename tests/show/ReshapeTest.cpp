#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "GlContext.h"
#include "show/View.h"

using testsupport::glMatrix;
using testsupport::GlTest;

class ReshapeTest : public GlTest {};

TEST_F(ReshapeTest, AnyWindowSizeKeepsAspectOneAndSetsTheViewport) {
    reshape(640, 480);
    const auto reference = glMatrix(GL_PROJECTION_MATRIX);
    // gluPerspective(65, 1.0, ...): x and y are scaled alike.
    EXPECT_FLOAT_EQ(reference[0], reference[5]);
    EXPECT_NEAR(reference[5], 1.0 / std::tan(65.0 / 2 * 3.14159265358979 / 180), 1e-5);
    // near 1.5, far 2000
    EXPECT_NEAR(reference[10], -(2000.0 + 1.5) / (2000.0 - 1.5), 1e-5);
    EXPECT_NEAR(reference[14], -2.0 * 2000.0 * 1.5 / (2000.0 - 1.5), 1e-4);

    for (auto [width, height] : {std::pair{1024, 768}, std::pair{1920, 1080}, std::pair{300, 900}}) {
        reshape(width, height);
        EXPECT_EQ(glMatrix(GL_PROJECTION_MATRIX), reference) << width << "x" << height;
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], width);
        EXPECT_EQ(viewport[3], height);
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FLOAT_EQ(glMatrix(GL_MODELVIEW_MATRIX)[14], 10.0f) << "the modelview ends translated by +10 in z";
}
