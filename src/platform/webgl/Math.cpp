#include "platform/webgl/Math.h"

#include <cmath>

namespace mwgl {

Mat4 Mat4::fromArray(const float* values) {
    Mat4 r;
    for (int i = 0; i < 16; ++i) r.m[i] = values[i];
    return r;
}

Mat4 Mat4::translation(float x, float y, float z) {
    Mat4 r;
    r.at(0, 3) = x;
    r.at(1, 3) = y;
    r.at(2, 3) = z;
    return r;
}

Mat4 Mat4::scaling(float x, float y, float z) {
    Mat4 r;
    r.at(0, 0) = x;
    r.at(1, 1) = y;
    r.at(2, 2) = z;
    return r;
}

Mat4 Mat4::rotation(float degrees, float x, float y, float z) {
    Mat4 r;
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) return r;
    x /= length;
    y /= length;
    z /= length;
    const float radians = degrees * static_cast<float>(M_PI / 180.0);
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float t = 1.0f - c;
    r.at(0, 0) = x * x * t + c;
    r.at(0, 1) = x * y * t - z * s;
    r.at(0, 2) = x * z * t + y * s;
    r.at(1, 0) = y * x * t + z * s;
    r.at(1, 1) = y * y * t + c;
    r.at(1, 2) = y * z * t - x * s;
    r.at(2, 0) = x * z * t - y * s;
    r.at(2, 1) = y * z * t + x * s;
    r.at(2, 2) = z * z * t + c;
    return r;
}

Mat4 Mat4::ortho(double left, double right, double bottom, double top, double zNear, double zFar) {
    Mat4 r;
    r.at(0, 0) = static_cast<float>(2.0 / (right - left));
    r.at(1, 1) = static_cast<float>(2.0 / (top - bottom));
    r.at(2, 2) = static_cast<float>(-2.0 / (zFar - zNear));
    r.at(0, 3) = static_cast<float>(-(right + left) / (right - left));
    r.at(1, 3) = static_cast<float>(-(top + bottom) / (top - bottom));
    r.at(2, 3) = static_cast<float>(-(zFar + zNear) / (zFar - zNear));
    return r;
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            r.at(row, column) = a.at(row, 0) * b.at(0, column) + a.at(row, 1) * b.at(1, column) +
                                a.at(row, 2) * b.at(2, column) + a.at(row, 3) * b.at(3, column);
        }
    }
    return r;
}

Vec4 Mat4::transform(const Vec4& v) const {
    Vec4 r;
    for (int row = 0; row < 4; ++row) {
        r[row] = at(row, 0) * v[0] + at(row, 1) * v[1] + at(row, 2) * v[2] + at(row, 3) * v[3];
    }
    return r;
}

Vec3 Mat4::transformPoint(float x, float y, float z) const {
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14]};
}

Vec3 Mat4::transformDirection(const Vec3& v) const {
    return {m[0] * v[0] + m[4] * v[1] + m[8] * v[2], m[1] * v[0] + m[5] * v[1] + m[9] * v[2],
            m[2] * v[0] + m[6] * v[1] + m[10] * v[2]};
}

Mat4 Mat4::transposed() const {
    Mat4 r;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) r.at(row, column) = at(column, row);
    }
    return r;
}

Mat4 Mat4::inverse() const {
    // Cofactors in double: the planes and normals it carries are compared
    // with Mesa's to the last bit of a pixel, not of a float.
    double a[16];
    for (int i = 0; i < 16; ++i) a[i] = m[i];
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] + a[8] * a[1] * a[6] -
              a[8] * a[2] * a[5];
    const double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    Mat4 r;
    if (det == 0.0) return r;
    for (int i = 0; i < 16; ++i) r.m[i] = static_cast<float>(inv[i] / det);
    return r;
}

std::array<float, 9> normalMatrix(const Mat4& modelview) {
    // The upper 3x3's inverse transpose: its cofactor matrix over the
    // determinant.
    const double a = modelview.at(0, 0), b = modelview.at(0, 1), c = modelview.at(0, 2);
    const double d = modelview.at(1, 0), e = modelview.at(1, 1), f = modelview.at(1, 2);
    const double g = modelview.at(2, 0), h = modelview.at(2, 1), i = modelview.at(2, 2);
    const double A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
    const double D = -(b * i - c * h), E = a * i - c * g, F = -(a * h - b * g);
    const double G = b * f - c * e, H = -(a * f - c * d), I = a * e - b * d;
    const double det = a * A + b * B + c * C;
    std::array<float, 9> n{1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (det == 0.0) return n;
    // Row r, column c of the inverse transpose is cofactor(r, c) / det;
    // stored column-major.
    const double rows[3][3] = {{A, B, C}, {D, E, F}, {G, H, I}};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) n[column * 3 + row] = static_cast<float>(rows[row][column] / det);
    }
    return n;
}

}  // namespace mwgl
