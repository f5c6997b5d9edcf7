// The model view of the real main window under a display: the background
// colour of the settings file, then the model after "Test View".
#include "EmptyNetworkPlatform.h"

#include "app/CommandMenus.h"
#include "app/MainWindow.h"
#include "app/ModelSceneHooks.h"
#include "dialogs/FrmColor.h"
#include "nodes/AtomicFile.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"
#include "scene/ui/ModelView.h"

#include <QAction>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

QImage grabView(Frmmain& window)
{
    auto* view = window.findChild<ModelView*>("PicGR");
    if (!view)
        return QImage();
    // A frame drawn after everything asked so far, rather than a guess at how long that takes.
    QSignalSpy drawn(view, &QOpenGLWidget::frameSwapped);
    view->update();
    drawn.wait(10000);
    return view->grabFramebuffer();
}

int pixelsUnlike(const QImage& image, QColor background, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); y += 4)
        for (int x = area.left(); x <= area.right(); x += 4)
            if (image.pixelColor(x, y) != background)
                ++n;
    return n;
}

} // namespace

TEST(ModelViewWindow, ShowsTheBackgroundColourThenTheModelAfterTestView)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display with OpenGL (run under Xvfb)";
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    // Line 6: the background colour 0x00336699.
    writeFileAtomically(folder / "vrsopt.ini", "\r\n\r\n-10\r\n0\r\n0\r\n3368601\r\nNAME\r\n1\r\nroot\\cimv2\r\nTrue\r\n");
    Platform platform;
    test::installEmptyNetwork(platform);
    ModelSceneHooks scene(*platform.messages, *platform.programEnd);
    Frmmain window(platform, folder, scene);
    window.loadStep(nullptr);
    ASSERT_FALSE(window.endingProgram());
    ASSERT_TRUE(scene.scene()->ModelLoaded) << "the model files were not found beside the tests";

    const QColor background(0x33, 0x66, 0x99);
    const QImage before = grabView(window);
    ASSERT_FALSE(before.isNull());
    const QRect all = before.rect().adjusted(2, 2, -2, -2);
    EXPECT_EQ(before.pixelColor(5, 5), background);
    EXPECT_EQ(pixelsUnlike(before, background, all), 0) << "every unit is hidden after start-up";

    window.menus().item().mnutest->trigger();
    const QImage after = grabView(window);
    EXPECT_EQ(after.pixelColor(5, 5), background) << "the corners stay background";
    const QRect middle(after.width() / 4, after.height() / 4, after.width() / 2, after.height() / 2);
    EXPECT_GT(pixelsUnlike(after, background, middle), (middle.width() / 4) * (middle.height() / 4) / 3)
        << "the units and racks fill the middle of the view";

    window.menus().item().mnuareset->trigger();
    EXPECT_EQ(pixelsUnlike(grabView(window), background, all), 0) << "Reset hides them again";
}

TEST(ModelViewWindow, NoGraphicsContextEndsTheStartWithTheMessage)
{
    QTemporaryDir dir;
    Platform platform;
    std::string error;
    installSimulatedNetwork(platform, SimulatedNetwork::parse(R"({"computers": []})", "net.json", error));
    auto boxes = std::make_unique<ScriptedMessageBoxes>();
    auto* shown = boxes.get();
    auto end = std::make_unique<RecordingProgramEnd>();
    auto* ended = end.get();
    platform.messages = std::move(boxes);
    platform.programEnd = std::move(end);
    ModelSceneHooks scene(*platform.messages, *platform.programEnd, [] { return std::optional<RendererInfo>(); });
    Frmmain window(platform, dir.path().toStdString(), scene);
    window.loadStep(nullptr);
    EXPECT_TRUE(window.endingProgram());
    EXPECT_EQ(window.exitStatus(), 1);
    EXPECT_TRUE(ended->ended());
    ASSERT_EQ(shown->boxes().size(), 1u);
    EXPECT_EQ(shown->boxes()[0].text, "Unable to initialize 3D device!");
    EXPECT_FALSE(std::filesystem::exists(dir.path().toStdString() + "/lg.ini")) << "nothing is saved";
}

TEST(ModelViewWindow, BackcolorOpensThePickerAndOkRepaintsTheView)
{
    QTemporaryDir dir;
    Platform platform;
    test::installEmptyNetwork(platform);
    SceneHooks scene; // the colour reaches the settings whatever draws the view
    Frmmain window(platform, dir.path().toStdString(), scene);
    window.loadStep(nullptr);
    window.menus().item().mnubk->trigger();
    auto* picker = window.findChild<FrmColor*>("FrmColor");
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->isVisible());
    emit picker->backgroundColourAccepted(0x00FF8000);
    EXPECT_EQ(window.state().settings.BackgroundColour, 0x00FF8000);
}
