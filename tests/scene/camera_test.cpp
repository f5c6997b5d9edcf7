#include "SceneTestSupport.h"
#include "support/RecordingDevice.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorlu;
using namespace vorlu::test;

namespace {

struct CameraFixture : ::testing::Test {
    CameraFixture()
    {
        scene.context().ApplySceneDefaults();
        scene.SceneRoot = std::make_shared<CD3DFrame>();
        auto trackball = NewChildFrame(scene.SceneRoot.get());
        container = std::make_shared<CD3DFrame>();
        container->AddTranslation(CombineReplace, 1, 5, 0);
        trackball->AddChild(container);
        scene.TrackballFrame = container;
    }
    RecordingDevice device;
    Scene scene{&device};
    std::shared_ptr<CD3DFrame> container;

    // The turn the container's matrix has taken, as the image of a point
    // relative to its own origin.
    Vector Turned(const Vector& p) const
    {
        Matrix m = container->GetMatrix();
        return Vec3TransformCoord(p, m) - Vec3TransformCoord(Vector(0), m);
    }
};

} // namespace

TEST_F(CameraFixture, StepsMoveTheEyeByOneAndApplyTheCamera)
{
    scene.CameraEye = Vector(0, 0, -10);
    scene.MoveLeft();
    scene.MoveLeft();
    scene.MoveRight();
    EXPECT_EQ(scene.CameraEye, Vector(1, 0, -10));
    scene.MoveUp();
    EXPECT_EQ(scene.CameraEye.y, -1.0f);
    scene.MoveDown();
    scene.MoveDown();
    EXPECT_EQ(scene.CameraEye.y, 1.0f);
    scene.MoveOut();
    EXPECT_EQ(scene.CameraEye.z, -11.0f);
    device.clearRecord();
    scene.MoveIn();
    EXPECT_EQ(scene.CameraEye, Vector(1, 1, -10));
    EXPECT_EQ(device.GetTransform(TransformState::View), MatrixLookAtLH(Vector(1, 1, -10), Vector(0), Vector(0, 1, 0)));
    EXPECT_EQ(device.GetRenderState(RenderState::Ambient), Scene::CameraAmbient);
    EXPECT_EQ(device.calls("Present").size(), 1u); // and the scene is drawn
}

TEST_F(CameraFixture, FirstInFromFreshStartAndRefusedStepOntoTheTarget)
{
    scene.CameraEye = Vector(0, 0, -10);
    scene.MoveIn();
    EXPECT_EQ(scene.CameraEye, Vector(0, 0, -9));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(scene.MoveIn());
    EXPECT_EQ(scene.CameraEye, Vector(0, 0, -1));
    device.clearRecord();
    EXPECT_FALSE(scene.MoveIn()); // would sit on the target
    EXPECT_EQ(scene.CameraEye, Vector(0, 0, -1));
    EXPECT_TRUE(device.log.empty());
    // With the eye off the axis the same step is fine; straight above the target it is not.
    scene.CameraEye = Vector(0, 2, -1);
    EXPECT_FALSE(scene.MoveIn());
    scene.CameraEye = Vector(1, 0, -1);
    EXPECT_TRUE(scene.MoveIn());
    EXPECT_EQ(scene.CameraEye, Vector(1, 0, 0));
}

TEST_F(CameraFixture, TrackballStepFigures)
{
    scene.TrackballPress(100, 100);
    scene.TrackballMouseMove(true, 103, 104);
    // r = 5, angle = 5 / sqrt(2525), camera axis (-0.8, -0.6, 0); from the
    // default eye the view is a plain shift, so the axis stays as it is.
    const float angle = 5.0f / std::sqrt(2525.0f);
    EXPECT_NEAR(angle, 0.0995f, 1e-4f);
    const Matrix expected = MatrixMultiply(MatrixRotationAxis(Vector(-0.8f, -0.6f, 0), angle), MatrixTranslation(1, 5, 0));
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            EXPECT_NEAR(At(container->GetMatrix(), i, j), At(expected, i, j), 1e-5f);
    EXPECT_EQ(scene.TrackballLastX, 103);
    EXPECT_EQ(scene.TrackballLastY, 104);
}

TEST_F(CameraFixture, DragRightTurnsAboutVerticalAxisFiftyPixelsAboutPointSevenRadians)
{
    scene.TrackballPress(0, 0);
    scene.TrackballMouseMove(true, 50, 0);
    // About -y by 50 / sqrt(5000): +x goes toward +z.
    const float a = 50.0f / std::sqrt(5000.0f);
    EXPECT_NEAR(a, 0.707f, 1e-3f);
    const Vector x = Turned(Vector(1, 0, 0));
    EXPECT_NEAR(x.x, std::cos(a), 1e-5f);
    EXPECT_NEAR(x.y, 0, 1e-5f);
    EXPECT_NEAR(x.z, std::sin(a), 1e-5f);
    // Dragging down turns about the horizontal axis: +y tips toward -z.
    container->SetMatrix(MatrixTranslation(1, 5, 0));
    scene.TrackballMouseMove(true, 50, 5);
    const float b = 5.0f / std::sqrt(2525.0f);
    const Vector y = Turned(Vector(0, 1, 0));
    EXPECT_NEAR(y.x, 0, 1e-5f);
    EXPECT_NEAR(y.y, std::cos(b), 1e-5f);
    EXPECT_NEAR(y.z, -std::sin(b), 1e-5f);
}

TEST_F(CameraFixture, MouseMoveRules)
{
    const Matrix before = container->GetMatrix();
    device.clearRecord();
    // Not dragging: nothing, not even a redraw.
    scene.TrackballMouseMove(true, 10, 10);
    EXPECT_TRUE(device.log.empty());
    scene.TrackballPress(10.5, 11.5); // halves go to even
    EXPECT_EQ(scene.TrackballLastX, 10);
    EXPECT_EQ(scene.TrackballLastY, 12);
    // Another button: no turn, but a redraw.
    scene.TrackballMouseMove(false, 40, 40);
    EXPECT_EQ(container->GetMatrix(), before);
    EXPECT_EQ(device.calls("Present").size(), 1u);
    // The same pixel: r = 0, no turn, still drawn.
    scene.TrackballMouseMove(true, 10, 12);
    EXPECT_EQ(container->GetMatrix(), before);
    EXPECT_EQ(device.calls("Present").size(), 2u);
    scene.TrackballRelease();
    scene.TrackballMouseMove(true, 90, 90);
    EXPECT_EQ(container->GetMatrix(), before);
    EXPECT_EQ(device.calls("Present").size(), 2u);
}

TEST(CameraWithoutModel, DragBeforeTheModelExistsIsIgnored)
{
    RecordingDevice device;
    Scene scene(&device);
    scene.TrackballPress(0, 0);
    EXPECT_NO_THROW(scene.TrackballMouseMove(true, 30, 30));
    EXPECT_TRUE(device.calls("Present").empty());
}

TEST(Units, ShowAndHideAllUnits)
{
    RecordingDevice device;
    Scene scene(&device);
    scene.SceneRoot = std::make_shared<CD3DFrame>();
    for (int i = 0; i < 10; ++i)
        scene.UnitFrames.push_back(std::make_shared<CD3DFrame>());
    for (int i = 0; i < 5; ++i)
        scene.RackFrames.push_back(std::make_shared<CD3DFrame>());
    scene.HideAllUnits();
    for (const auto& f : scene.UnitFrames)
        EXPECT_FALSE(f->Enabled);
    for (const auto& f : scene.RackFrames)
        EXPECT_FALSE(f->Enabled);
    EXPECT_EQ(device.calls("Present").size(), 1u);
    scene.ShowAllUnits();
    for (const auto& f : scene.UnitFrames)
        EXPECT_TRUE(f->Enabled);
    for (const auto& f : scene.RackFrames)
        EXPECT_TRUE(f->Enabled);
    EXPECT_EQ(device.calls("Present").size(), 2u);
}

namespace {

// A box model off the container's origin, as the units sit in the real
// model, and a check that all of it projects inside the view.
struct NavigationFixture : CameraFixture {
    NavigationFixture()
    {
        part = std::make_shared<CD3DFrame>();
        part->AddTranslation(CombineReplace, 0.5f, -4.5f, 0.0f);
        part->AddMesh(MeshOf(Square(-1.0f), {Mat(1, 1, 1)}));
        part->AddMesh(MeshOf(Square(1.0f), {Mat(1, 1, 1)}));
        container->AddChild(part);
        scene.TrackballHalfTurnPixels = 600;
        scene.SetTrackballHome();
        scene.zoom_in();
    }

    // Corners of the box as the camera shows them: all in front of the eye
    // and inside the view's -1..1 square.
    ::testing::AssertionResult BoxInView() const
    {
        const Matrix toWorld = MatrixMultiply(part->GetMatrix(), container->GetMatrix());
        const Matrix view = device.GetTransform(TransformState::View);
        const Matrix clip = MatrixMultiply(view, scene.context().SceneProjectionMatrix);
        for (float x : {-1.0f, 1.0f})
            for (float y : {-1.0f, 1.0f})
                for (float z : {-1.0f, 1.0f}) {
                    const Vector world = Vec3TransformCoord(Vector(x, y, z), toWorld);
                    const Vector eyeSpace = Vec3TransformCoord(world, view);
                    const Vector p = Vec3TransformCoord(world, clip);
                    if (eyeSpace.z <= SceneContext::NearPlane || std::abs(p.x) > 1.0f || std::abs(p.y) > 1.0f)
                        return ::testing::AssertionFailure()
                               << "corner (" << x << ", " << y << ", " << z << ") at (" << p.x << ", " << p.y
                               << ") depth " << eyeSpace.z;
                }
        return ::testing::AssertionSuccess();
    }

    void Drag(int fromX, int fromY, int toX, int toY)
    {
        scene.TrackballPress(fromX, fromY);
        for (int i = 1; i <= 60; ++i)
            scene.TrackballMouseMove(true, fromX + (toX - fromX) * i / 60.0, fromY + (toY - fromY) * i / 60.0);
        scene.TrackballRelease();
    }

    std::shared_ptr<CD3DFrame> part;
};

} // namespace

TEST_F(NavigationFixture, LongDragsTurnAboutTheCentreAndKeepTheModelInView)
{
    ASSERT_TRUE(BoxInView());
    const Vector centreBefore = Vec3TransformCoord(Vector(0.5f, -4.5f, 0.0f), container->GetMatrix());
    Drag(0, 300, 600, 300); // a full drag across the view
    // About half a turn about the vertical: the front face is now at the back.
    const Vector front = Vec3TransformCoord(Vec3TransformCoord(Vector(0, 0, -1), part->GetMatrix()), container->GetMatrix());
    EXPECT_NEAR(front.z - centreBefore.z, 1.0f, 0.05f);
    EXPECT_TRUE(BoxInView());
    for (int i = 0; i < 5; ++i) {
        Drag(0, 0, 600, 600);
        Drag(590, 20, 30, 120);
        EXPECT_TRUE(BoxInView()) << "drag " << i;
    }
    const Vector centreAfter = Vec3TransformCoord(Vector(0.5f, -4.5f, 0.0f), container->GetMatrix());
    EXPECT_NEAR(glm::length(centreAfter - centreBefore), 0.0f, 1e-3f) << "the model turns about its centre";
}

TEST_F(NavigationFixture, WheelZoomsWithinLimitsThatKeepTheModelInView)
{
    scene.WheelZoom(100); // far more notches than needed
    EXPECT_NEAR(glm::length(scene.CameraEye), scene.NearestEyeDistance(), 1e-3f);
    EXPECT_TRUE(BoxInView());
    Drag(0, 300, 300, 0);
    EXPECT_TRUE(BoxInView()) << "even turned, at the nearest";
    scene.WheelZoom(-100);
    EXPECT_NEAR(glm::length(scene.CameraEye), scene.FarthestEyeDistance(), 1e-2f);
    EXPECT_TRUE(BoxInView());
    EXPECT_LT(scene.CameraEye.z, 0.0f) << "the eye keeps its side";
    // The described steps keep their one unit, without limits.
    const float z = scene.CameraEye.z;
    scene.MoveIn();
    EXPECT_EQ(scene.CameraEye.z, z + 1.0f);
}

TEST_F(NavigationFixture, ResetRestoresTheCameraAndTheModelTurn)
{
    const Matrix home = container->GetMatrix();
    Drag(0, 300, 600, 200);
    scene.WheelZoom(5);
    scene.MoveLeft();
    scene.ResetCamera(Vector(0, 0, -10));
    EXPECT_EQ(container->GetMatrix(), home);
    EXPECT_EQ(scene.CameraEye, Vector(0, 0, -10));
    EXPECT_EQ(device.GetTransform(TransformState::View), MatrixLookAtLH(Vector(0, 0, -10), Vector(0), Vector(0, 1, 0)));
    EXPECT_TRUE(BoxInView());
}
