// Draws through OpenGL into the model view; needs a display (Xvfb with Mesa
// is enough) and is skipped without any GL context.
#include "scene/SceneTestSupport.h"
#include "scene/DeviceInit.h"
#include "scene/ui/ModelView.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include <cmath>

using namespace vorlu;
using namespace vorlu::test;

namespace {

std::shared_ptr<MeshGeometry> SquareWithNormal(float cx, float cy, float half, Vector normal, bool clockwise = true)
{
    std::vector<MeshVertex> v(4);
    v[0].position = {cx - half, cy - half, 0};
    v[1].position = {cx - half, cy + half, 0};
    v[2].position = {cx + half, cy + half, 0};
    v[3].position = {cx + half, cy - half, 0};
    for (auto& x : v)
        x.normal = Vec3Normalize(normal);
    std::vector<std::uint32_t> idx = clockwise ? std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}
                                               : std::vector<std::uint32_t>{0, 2, 1, 0, 3, 2};
    return std::make_shared<MeshGeometry>(v, idx, std::vector<std::uint32_t>{0, 0});
}

void ExpectPixel(const QImage& img, int x, int y, int r, int g, int b, int tol = 3)
{
    const QColor c = img.pixelColor(x, y);
    EXPECT_NEAR(c.red(), r, tol) << "at " << x << "," << y;
    EXPECT_NEAR(c.green(), g, tol) << "at " << x << "," << y;
    EXPECT_NEAR(c.blue(), b, tol) << "at " << x << "," << y;
}

struct GlFixture : ::testing::Test {
    void SetUp() override
    {
        if (QGuiApplication::platformName() == "offscreen" || !ProbeOpenGL())
            GTEST_SKIP() << "no OpenGL context on this display";
        view = std::make_unique<ModelView>();
        view->setObjectName("PicGR");
        view->resize(200, 200);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->attachScene(&scene);
        scene.context().setDevice(&view->device());
        scene.context().windowWidth = 200;
        scene.context().windowHeight = 200;
    }
    Scene scene;
    std::unique_ptr<ModelView> view;
};

} // namespace

TEST_F(GlFixture, ClearsToTheBackgroundAndDrawsLitMeshesWhereTheyProject)
{
    scene.context().ApplySceneDefaults();
    scene.CameraEye = Vector(0, 0, -20);
    scene.zoom_in(); // ambient 0x90 on top of the defaults
    scene.BackgroundColour = 0x00336699;
    scene.SceneRoot = std::make_shared<CD3DFrame>();
    // Facing the eye, lit by ambient only (light 0 shines from behind).
    scene.SceneRoot->AddMesh(MeshOf(SquareWithNormal(-3, 0, 2, Vector(0, 0, -1)), {Mat(1, 0, 0)}));
    // Same place on the right, with normals turned toward the light: N.L = 1/3.
    scene.SceneRoot->AddMesh(MeshOf(SquareWithNormal(3, 0, 2, Vector(1, 1, -1)), {Mat(0, 1, 0)}));
    // Wound the other way round: a back face, culled.
    scene.SceneRoot->AddMesh(MeshOf(SquareWithNormal(0, 5, 1, Vector(0, 0, -1), false), {Mat(1, 1, 1)}));
    scene.ModelLoaded = true;
    scene.RenderScene();

    const QImage img = view->grabFramebuffer();
    ASSERT_EQ(img.width(), 200);
    ExpectPixel(img, 3, 3, 0x33, 0x66, 0x99, 0);
    ExpectPixel(img, 196, 196, 0x33, 0x66, 0x99, 0);
    // 12.07 pixels per unit at depth 20: the squares' centres at x = 100 -/+ 36.
    const int ambientOnly = static_cast<int>(std::lround((144.0 / 255.0 + 0.1) * 255.0));
    ExpectPixel(img, 64, 100, ambientOnly, 0, 0);
    ExpectPixel(img, 136, 100, 0, 254, 0, 4);
    ExpectPixel(img, 100, 40, 0x33, 0x66, 0x99, 0);
    EXPECT_FALSE(view->device().rendererName().empty());
}

TEST_F(GlFixture, TranslucentOverrideBlendsWithWhatIsBehind)
{
    scene.context().ApplySceneDefaults();
    scene.BackgroundColour = 0x00000000;
    scene.SceneRoot = std::make_shared<CD3DFrame>();
    auto mesh = MeshOf(SquareWithNormal(0, 0, 3, Vector(0, 0, -1)), {Mat(1, 1, 1)});
    mesh->bUseMaterials = false;
    Material glass = Mat(1, 1, 1, 0.5f);
    glass.Emissive = {1, 1, 1, 1}; // full white whatever the light
    mesh->SetMaterialOverride(glass);
    scene.SceneRoot->AddMesh(mesh);
    scene.ModelLoaded = true;
    scene.RenderScene();
    const QImage img = view->grabFramebuffer();
    // White at half alpha over black.
    ExpectPixel(img, 100, 100, 128, 128, 128, 3);
    ExpectPixel(img, 3, 3, 0, 0, 0, 0);
}

TEST_F(GlFixture, NothingToDrawShowsTheBackground)
{
    scene.BackgroundColour = 0x0000FF00;
    const QImage img = view->grabFramebuffer();
    ExpectPixel(img, 100, 100, 0, 255, 0, 0);
}

TEST_F(GlFixture, LostContextTakesTheResetPathBackToTheSceneDefaults)
{
    scene.context().ApplySceneDefaults();
    scene.CameraEye = Vector(0, 0, -20);
    scene.zoom_in();
    scene.SceneRoot = std::make_shared<CD3DFrame>();
    scene.SceneRoot->AddMesh(MeshOf(SquareWithNormal(0, 0, 3, Vector(0, 0, -1)), {Mat(1, 0, 0)}));
    scene.ModelLoaded = true;

    GlDevice& device = view->device();
    view->makeCurrent();
    device.contextAboutToBeDestroyed();
    EXPECT_EQ(device.TestCooperativeLevel(), DeviceLost);
    device.contextCreated();
    EXPECT_EQ(device.TestCooperativeLevel(), DeviceNotReset);
    view->doneCurrent();

    scene.RenderScene();
    const QImage img = view->grabFramebuffer();
    EXPECT_EQ(device.TestCooperativeLevel(), DeviceOk);
    // Drawn after the reset with the default ambient light, not the camera's.
    const int ambientOnly = static_cast<int>(std::lround((16.0 / 255.0 + 0.1) * 255.0));
    ExpectPixel(img, 100, 100, ambientOnly, 0, 0);
}
