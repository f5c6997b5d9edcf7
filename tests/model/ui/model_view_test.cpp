// The generated model drawn through OpenGL into the model view; needs a
// display (Xvfb with Mesa is enough) and is skipped without a GL context.
#include "model/ModelAssembly.h"
#include "model/ModelLayout.h"
#include "model/Racks.h"
#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "scene/DeviceInit.h"
#include "scene/ui/ModelView.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QTest>

using namespace vorlu;

namespace {

struct DrawnModel : ::testing::Test {
    void SetUp() override
    {
        if (QGuiApplication::platformName() == "offscreen" || !ProbeOpenGL())
            GTEST_SKIP() << "no OpenGL context on this display";
        view = std::make_unique<ModelView>();
        view->resize(640, 480);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->attachScene(&scene);
        scene.context().setDevice(&view->device());
        scene.context().windowWidth = 640;
        scene.context().windowHeight = 480;
        scene.context().ApplySceneDefaults();
        scene.BackgroundColour = 0x00000000;
        assembly = std::make_unique<ModelAssembly>(scene, std::string(VORLU_BINARY_DIR) + "/media/", pace);
        assembly->load_start();
    }

    // Pixel under a point given in unit coordinates.
    QColor At(const QImage& img, int unit, const Vector& local)
    {
        scene.SceneRoot->UpdateFrames(scene.context().SceneWorldMatrix);
        const Vector world = scene.UnitFrames[static_cast<std::size_t>(unit - 1)]->TransformCoord(local);
        const Vector p = Vec3Project(world, view->device().GetViewport(), scene.context().SceneProjectionMatrix,
                                     scene.context().SceneViewMatrix, Matrix(1.0f));
        return img.pixelColor(static_cast<int>(p.x), static_cast<int>(p.y));
    }

    Scene scene;
    std::unique_ptr<ModelView> view;
    RepaintPace pace;
    std::unique_ptr<ModelAssembly> assembly;
};

const Vector TrayLip(0.8f, 0.16f, -1.78f);

} // namespace

TEST_F(DrawnModel, ShowsOnlyTheBackgroundUntilDrivesAreShown)
{
    scene.RenderScene();
    const QImage img = view->grabFramebuffer();
    for (int y = 0; y < img.height(); y += 8)
        for (int x = 0; x < img.width(); x += 8)
            ASSERT_EQ(img.pixelColor(x, y), QColor(0, 0, 0)) << "at " << x << "," << y;
}

TEST_F(DrawnModel, ShowsTheDrivesUnitsWithAPaintedTrayInItsColour)
{
    ShowUnitsForDrives(scene, 3, true);
    CD3DMesh& tray = *scene.SceneRoot->FindChildObject(DrivePartName(2)).frame->GetChildMesh(0);
    Material green;
    green.Diffuse = {0.5f, 1.0f, 0.2f, 1.0f};
    green.Ambient = green.Diffuse;
    tray.bUseMaterials = false;
    tray.bUseMaterialOverride = false;
    tray.SetMaterialOverride(green);
    scene.RenderScene();
    const QImage img = view->grabFramebuffer();

    const QColor painted = At(img, 2, TrayLip);
    EXPECT_GT(painted.green(), 120);
    EXPECT_GT(painted.green(), painted.red() + 40);
    EXPECT_GT(painted.green(), painted.blue() + 60);
    // An unpainted tray shows its own dark plastic, the bezel beside it is light.
    const QColor own = At(img, 1, TrayLip);
    EXPECT_LT(std::max({own.red(), own.green(), own.blue()}), 60);
    EXPECT_NE(own, QColor(0, 0, 0));
    const QColor bezel = At(img, 3, Vector(0.0f, -0.45f, -0.12f));
    EXPECT_GT(bezel.red(), 100);
    // Unit 6 and its rack stay hidden.
    EXPECT_EQ(At(img, 6, Vector(0.0f, 0.0f, -0.12f)), QColor(0, 0, 0));
}
