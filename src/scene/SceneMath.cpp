#include "scene/SceneMath.h"

#include <cmath>

namespace vorlu {

Matrix MatrixIdentity()
{
    return Matrix(1.0f);
}

Matrix MatrixMultiply(const Matrix& a, const Matrix& b)
{
    Matrix out(0.0f);
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c)
            At(out, r, c) = At(a, r, 1) * At(b, 1, c) + At(a, r, 2) * At(b, 2, c) + At(a, r, 3) * At(b, 3, c)
                + At(a, r, 4) * At(b, 4, c);
    return out;
}

Matrix MatrixInverse(const Matrix& m, float* det)
{
    // The inverse of the transposed storage is the transposed inverse, so
    // glm's column-major routine gives the row-major answer in place.
    if (det)
        *det = glm::determinant(m);
    return glm::inverse(m);
}

Matrix MatrixTranslation(float x, float y, float z)
{
    Matrix m(1.0f);
    At(m, 4, 1) = x;
    At(m, 4, 2) = y;
    At(m, 4, 3) = z;
    return m;
}

Matrix MatrixScaling(float x, float y, float z)
{
    Matrix m(1.0f);
    At(m, 1, 1) = x;
    At(m, 2, 2) = y;
    At(m, 3, 3) = z;
    return m;
}

Vector Vec3Normalize(const Vector& v)
{
    const float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (len == 0.0f)
        return Vector(0.0f);
    return v / len;
}

Matrix MatrixRotationAxis(const Vector& axis, float angle)
{
    const Vector n = Vec3Normalize(axis);
    const float s = std::sin(angle);
    const float c = std::cos(angle);
    const float d = 1.0f - c;
    Matrix m(1.0f);
    At(m, 1, 1) = d * n.x * n.x + c;
    At(m, 1, 2) = d * n.x * n.y + s * n.z;
    At(m, 1, 3) = d * n.x * n.z - s * n.y;
    At(m, 2, 1) = d * n.y * n.x - s * n.z;
    At(m, 2, 2) = d * n.y * n.y + c;
    At(m, 2, 3) = d * n.y * n.z + s * n.x;
    At(m, 3, 1) = d * n.z * n.x + s * n.y;
    At(m, 3, 2) = d * n.z * n.y - s * n.x;
    At(m, 3, 3) = d * n.z * n.z + c;
    return m;
}

Matrix MatrixRotationQuaternion(const Quaternion& q)
{
    Matrix m(1.0f);
    At(m, 1, 1) = 1.0f - 2.0f * (q.y * q.y + q.z * q.z);
    At(m, 1, 2) = 2.0f * (q.x * q.y + q.z * q.w);
    At(m, 1, 3) = 2.0f * (q.x * q.z - q.y * q.w);
    At(m, 2, 1) = 2.0f * (q.x * q.y - q.z * q.w);
    At(m, 2, 2) = 1.0f - 2.0f * (q.x * q.x + q.z * q.z);
    At(m, 2, 3) = 2.0f * (q.y * q.z + q.x * q.w);
    At(m, 3, 1) = 2.0f * (q.x * q.z + q.y * q.w);
    At(m, 3, 2) = 2.0f * (q.y * q.z - q.x * q.w);
    At(m, 3, 3) = 1.0f - 2.0f * (q.x * q.x + q.y * q.y);
    return m;
}

Matrix MatrixAffineTransformation(float scaling, const Vector& rotationCenter, const Quaternion& rotation,
                                  const Vector& translation)
{
    Matrix m = MatrixScaling(scaling, scaling, scaling);
    m = MatrixMultiply(m, MatrixTranslation(-rotationCenter.x, -rotationCenter.y, -rotationCenter.z));
    m = MatrixMultiply(m, MatrixRotationQuaternion(rotation));
    m = MatrixMultiply(m, MatrixTranslation(rotationCenter.x, rotationCenter.y, rotationCenter.z));
    return MatrixMultiply(m, MatrixTranslation(translation.x, translation.y, translation.z));
}

Matrix MatrixLookAtLH(const Vector& eye, const Vector& at, const Vector& up)
{
    const Vector z = Vec3Normalize(at - eye);
    const Vector x = Vec3Normalize(glm::cross(up, z));
    const Vector y = glm::cross(z, x);
    Matrix m(1.0f);
    At(m, 1, 1) = x.x; At(m, 1, 2) = y.x; At(m, 1, 3) = z.x;
    At(m, 2, 1) = x.y; At(m, 2, 2) = y.y; At(m, 2, 3) = z.y;
    At(m, 3, 1) = x.z; At(m, 3, 2) = y.z; At(m, 3, 3) = z.z;
    At(m, 4, 1) = -glm::dot(x, eye);
    At(m, 4, 2) = -glm::dot(y, eye);
    At(m, 4, 3) = -glm::dot(z, eye);
    return m;
}

Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar)
{
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    Matrix m(0.0f);
    At(m, 1, 1) = xScale;
    At(m, 2, 2) = yScale;
    At(m, 3, 3) = zFar / (zFar - zNear);
    At(m, 3, 4) = 1.0f;
    At(m, 4, 3) = -zNear * zFar / (zFar - zNear);
    return m;
}

Quaternion QuaternionIdentity()
{
    return Quaternion(1.0f, 0.0f, 0.0f, 0.0f); // glm order: w, x, y, z
}

Quaternion QuaternionRotationAxis(const Vector& axis, float angle)
{
    const Vector n = Vec3Normalize(axis);
    const float s = std::sin(angle / 2.0f);
    return Quaternion(std::cos(angle / 2.0f), n.x * s, n.y * s, n.z * s);
}

Vector Vec3TransformCoord(const Vector& v, const Matrix& m)
{
    const float w = v.x * At(m, 1, 4) + v.y * At(m, 2, 4) + v.z * At(m, 3, 4) + At(m, 4, 4);
    const float x = v.x * At(m, 1, 1) + v.y * At(m, 2, 1) + v.z * At(m, 3, 1) + At(m, 4, 1);
    const float y = v.x * At(m, 1, 2) + v.y * At(m, 2, 2) + v.z * At(m, 3, 2) + At(m, 4, 2);
    const float z = v.x * At(m, 1, 3) + v.y * At(m, 2, 3) + v.z * At(m, 3, 3) + At(m, 4, 3);
    return Vector(x / w, y / w, z / w);
}

Vector Vec3TransformNormal(const Vector& v, const Matrix& m)
{
    return Vector(v.x * At(m, 1, 1) + v.y * At(m, 2, 1) + v.z * At(m, 3, 1),
                  v.x * At(m, 1, 2) + v.y * At(m, 2, 2) + v.z * At(m, 3, 2),
                  v.x * At(m, 1, 3) + v.y * At(m, 2, 3) + v.z * At(m, 3, 3));
}

Vector Vec3Project(const Vector& v, const Viewport& vp, const Matrix& projection, const Matrix& view,
                   const Matrix& world)
{
    const Matrix m = MatrixMultiply(MatrixMultiply(world, view), projection);
    Vector out = Vec3TransformCoord(v, m);
    out.x = vp.X + (1.0f + out.x) * vp.Width / 2.0f;
    out.y = vp.Y + (1.0f - out.y) * vp.Height / 2.0f;
    out.z = vp.MinZ + out.z * (vp.MaxZ - vp.MinZ);
    return out;
}

Vector Vec3Unproject(const Vector& v, const Viewport& vp, const Matrix& projection, const Matrix& view,
                     const Matrix& world)
{
    const Matrix m = MatrixInverse(MatrixMultiply(MatrixMultiply(world, view), projection));
    Vector ndc;
    ndc.x = 2.0f * (v.x - vp.X) / vp.Width - 1.0f;
    ndc.y = 1.0f - 2.0f * (v.y - vp.Y) / vp.Height;
    ndc.z = (v.z - vp.MinZ) / (vp.MaxZ - vp.MinZ);
    return Vec3TransformCoord(ndc, m);
}

} // namespace vorlu
