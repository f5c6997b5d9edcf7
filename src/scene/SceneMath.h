#pragma once
// Matrix, vector and quaternion helpers with the conventions of the Direct3D
// utility library: row vectors (a point transforms as p x M), translation in
// the fourth row, left-handed axes, depth from zero to one.
//
// A Matrix is a glm::mat4 holding the sixteen values in the memory order of a
// D3DMATRIX (m[0] is the first row _11.._14). With that layout glm's own
// "M * v" equals the row-vector product "v x M", so the matrices can be handed
// to a shader unchanged.
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

namespace vorlu {

using Matrix = glm::mat4;
using Vector = glm::vec3;
using Quaternion = glm::quat; // x, y, z, w; identity is (0, 0, 0, 1)

struct Viewport {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;
    float MinZ = 0;
    float MaxZ = 1;
};

// Element access by the 1-based row and column of a D3DMATRIX (_rc).
inline float& At(Matrix& m, int row, int col) { return m[row - 1][col - 1]; }
inline float At(const Matrix& m, int row, int col) { return m[row - 1][col - 1]; }

Matrix MatrixIdentity();
// a x b: a acts first, then b.
Matrix MatrixMultiply(const Matrix& a, const Matrix& b);
// General inverse; the determinant is returned through det when asked for.
// A singular matrix yields whatever the cofactor division gives.
Matrix MatrixInverse(const Matrix& m, float* det = nullptr);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixScaling(float x, float y, float z);
// Rotation by angle radians about the normalised axis.
Matrix MatrixRotationAxis(const Vector& axis, float angle);
Matrix MatrixRotationQuaternion(const Quaternion& q);
// scaling x T(-centre) x R(rotation) x T(centre) x T(translation)
Matrix MatrixAffineTransformation(float scaling, const Vector& rotationCenter, const Quaternion& rotation,
                                  const Vector& translation);
Matrix MatrixLookAtLH(const Vector& eye, const Vector& at, const Vector& up);
Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);

Quaternion QuaternionIdentity();
Quaternion QuaternionRotationAxis(const Vector& axis, float angle);

Vector Vec3Normalize(const Vector& v);
// Point transform with the division by w.
Vector Vec3TransformCoord(const Vector& v, const Matrix& m);
// Direction transform: the translation row is ignored.
Vector Vec3TransformNormal(const Vector& v, const Matrix& m);
Vector Vec3Project(const Vector& v, const Viewport& vp, const Matrix& projection, const Matrix& view,
                   const Matrix& world);
Vector Vec3Unproject(const Vector& v, const Viewport& vp, const Matrix& projection, const Matrix& view,
                     const Matrix& world);

} // namespace vorlu
