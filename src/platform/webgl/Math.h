// Column-major 4x4 matrices and the small vectors of the fixed-function
// pipeline, in float as OpenGL keeps them.
#pragma once

#include <array>

namespace mwgl {

using Vec3 = std::array<float, 3>;
using Vec4 = std::array<float, 4>;

struct Mat4 {
    // m[column * 4 + row], as glLoadMatrixf takes it.
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Mat4 identity() { return Mat4{}; }
    static Mat4 fromArray(const float* values);
    static Mat4 translation(float x, float y, float z);
    static Mat4 scaling(float x, float y, float z);
    // A turn of `degrees` about (x, y, z), normalised; none for a zero axis.
    static Mat4 rotation(float degrees, float x, float y, float z);
    static Mat4 ortho(double left, double right, double bottom, double top, double zNear, double zFar);

    float& at(int row, int column) { return m[column * 4 + row]; }
    float at(int row, int column) const { return m[column * 4 + row]; }

    bool isIdentity() const { return m == Mat4{}.m; }
    Vec4 transform(const Vec4& v) const;
    Vec3 transformPoint(float x, float y, float z) const;  // w = 1, the result's w ignored
    Vec3 transformDirection(const Vec3& v) const;          // the upper 3x3
    // The inverse (the identity for a singular matrix, as a caller gets no
    // error for one).
    Mat4 inverse() const;
    Mat4 transposed() const;
};

Mat4 operator*(const Mat4& a, const Mat4& b);

// The inverse transpose of the upper 3x3, which carries normals into eye
// coordinates: 9 floats column-major, as a GLSL mat3 takes them.
std::array<float, 9> normalMatrix(const Mat4& modelview);

}  // namespace mwgl
