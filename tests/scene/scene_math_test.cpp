#include "scene/SceneMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorlu;

namespace {

void ExpectMatrix(const Matrix& m, const float (&rows)[4][4], float tol = 1e-5f)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(At(m, r + 1, c + 1), rows[r][c], tol) << "_" << r + 1 << c + 1;
}

void ExpectVec(const Vector& v, float x, float y, float z, float tol = 1e-4f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

} // namespace

TEST(SceneMath, StorageIsRowMajorWithTranslationInFourthRow)
{
    const Matrix t = MatrixTranslation(1, 2, 3);
    const float* raw = &t[0][0];
    EXPECT_EQ(raw[12], 1.0f);
    EXPECT_EQ(raw[13], 2.0f);
    EXPECT_EQ(raw[14], 3.0f);
    ExpectVec(Vec3TransformCoord(Vector(1, 1, 1), t), 2, 3, 4);
    // a x b applies a first.
    const Matrix ab = MatrixMultiply(MatrixScaling(2, 2, 2), MatrixTranslation(1, 0, 0));
    ExpectVec(Vec3TransformCoord(Vector(1, 0, 0), ab), 3, 0, 0);
}

TEST(SceneMath, LookAtLeftHanded)
{
    const float expected[4][4] = {{0.9578263f, -0.1028047f, -0.2683282f, 0},
                                  {0.0f, 0.9338094f, -0.3577709f, 0},
                                  {0.2873479f, 0.3426823f, 0.8944272f, 0},
                                  {0.0f, 0.0f, 11.1803399f, 1}};
    ExpectMatrix(MatrixLookAtLH(Vector(3, 4, -10), Vector(0, 0, 0), Vector(0, 1, 0)), expected);
    // The default eye looks along +z: a plain shift by 20.
    ExpectVec(Vec3TransformCoord(Vector(1, 2, 0), MatrixLookAtLH(Vector(0, 0, -20), Vector(0), Vector(0, 1, 0))), 1, 2,
              20);
}

TEST(SceneMath, PerspectiveFovWithHeightOverWidthAspect)
{
    const float fov = 3.1415f / 4.0f;
    EXPECT_FLOAT_EQ(fov, 0.785375f);
    const float expected[4][4] = {{1.9314341f, 0, 0, 0},
                                  {0, 2.4142926f, 0, 0},
                                  {0, 0, 1.0003334f, 1},
                                  {0, 0, -1.0003334f, 0}};
    ExpectMatrix(MatrixPerspectiveFovLH(fov, 750.0f / 600.0f, 1.0f, 3000.0f), expected);
}

TEST(SceneMath, RotationAboutAxis)
{
    // A quarter turn about +z carries +x to +y.
    ExpectVec(Vec3TransformCoord(Vector(1, 0, 0), MatrixRotationAxis(Vector(0, 0, 5), 3.14159265f / 2)), 0, 1, 0);
    // A third of a turn about (1, 1, 1) cycles the axes.
    const Matrix r = MatrixRotationAxis(Vector(1, 1, 1), 2.0f * 3.14159265f / 3.0f);
    ExpectVec(Vec3TransformCoord(Vector(1, 0, 0), r), 0, 1, 0);
    ExpectVec(Vec3TransformCoord(Vector(0, 1, 0), r), 0, 0, 1);
    // The quaternion of the same rotation gives the same matrix.
    const Matrix q = MatrixRotationQuaternion(QuaternionRotationAxis(Vector(1, 2, 3), 0.7f));
    const Matrix a = MatrixRotationAxis(Vector(1, 2, 3), 0.7f);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            EXPECT_NEAR(At(q, i, j), At(a, i, j), 1e-6f);
}

TEST(SceneMath, AffineTransformationScalesThenTurnsAboutCentreThenMoves)
{
    const Matrix m = MatrixAffineTransformation(2.0f, Vector(1, 0, 0),
                                                QuaternionRotationAxis(Vector(0, 0, 1), 3.14159265f / 2), Vector(0, 0, 5));
    // (2,0,0) -> scaled (4,0,0) -> about (1,0,0) a quarter turn -> (1,3,0) -> moved (1,3,5)
    ExpectVec(Vec3TransformCoord(Vector(2, 0, 0), m), 1, 3, 5);
    const Matrix plain = MatrixAffineTransformation(1.0f, Vector(0), QuaternionIdentity(), Vector(4, 5, 6));
    ExpectVec(Vec3TransformCoord(Vector(0), plain), 4, 5, 6);
}

TEST(SceneMath, InverseAndTransforms)
{
    const Matrix m = MatrixMultiply(MatrixRotationAxis(Vector(1, 2, 0), 0.3f), MatrixTranslation(3, -2, 7));
    float det = 0;
    const Matrix id = MatrixMultiply(m, MatrixInverse(m, &det));
    EXPECT_NEAR(det, 1.0f, 1e-5f);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            EXPECT_NEAR(At(id, i, j), i == j ? 1.0f : 0.0f, 1e-5f);
    // Directions ignore the translation.
    ExpectVec(Vec3TransformNormal(Vector(1, 0, 0), MatrixTranslation(5, 5, 5)), 1, 0, 0);
}

TEST(SceneMath, UnprojectThroughDefaultCamera)
{
    const Viewport vp{0, 0, 640, 480, 0, 1};
    const Matrix proj = MatrixPerspectiveFovLH(3.1415f / 4, 480.0f / 640.0f, 1, 3000);
    const Matrix view = MatrixLookAtLH(Vector(0, 0, -20), Vector(0), Vector(0, 1, 0));
    const Matrix world(1.0f);
    // The centre pixel at depth 0 and 1: the near and far planes on the axis.
    ExpectVec(Vec3Unproject(Vector(320, 240, 0), vp, proj, view, world), 0, 0, -19, 1e-3f);
    ExpectVec(Vec3Unproject(Vector(320, 240, 1), vp, proj, view, world), 0, 0, 2980, 3.0f); // single precision at the far plane
    // Project and unproject are inverse of each other.
    const Vector p(1.5f, -2.0f, 4.0f);
    const Vector screen = Vec3Project(p, vp, proj, view, world);
    EXPECT_GT(screen.x, 320);
    EXPECT_GT(screen.y, 240); // y grows downward on screen
    const Vector back = Vec3Unproject(screen, vp, proj, view, world);
    ExpectVec(back, p.x, p.y, p.z, 1e-3f);
}
