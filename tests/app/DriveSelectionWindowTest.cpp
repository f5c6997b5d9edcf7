// The real main window under a display: a node's drives painted on the model,
// a click on a red drive's tray filling the detail panel, and the reset that
// clears the state display again.
#include "EmptyNetworkPlatform.h"

#include "app/MainWindow.h"
#include "app/ModelSceneHooks.h"
#include "app/TreeWidgetView.h"
#include "inventory/InventoryReport.h"
#include "network/NodeTree.h"
#include "model/ModelLayout.h"
#include "model/Racks.h"
#include "scene/CD3DMesh.h"
#include "scene/ui/ModelView.h"

#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

DriveStatus Drive(int k, const char* status, int colour)
{
    DriveStatus d;
    d.label = "CD " + std::to_string(k);
    d.status = status;
    d.availabilityText = colour == StatusColour::Red ? "Power Off" : "Running or Full Power";
    d.configManagerErrorText = "Device is working properly.";
    d.errorCleared = "false";
    d.errorDescription = colour == StatusColour::Red ? "the drive does not answer" : "";
    d.lastErrorCode = colour == StatusColour::Red ? "21" : "0";
    d.statusInfoText = "Enabled";
    d.colour = colour;
    return d;
}

void saveShot(const QImage& image, const char* name)
{
    const QString dir = qEnvironmentVariable("VORLU_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        image.save(QDir(dir).filePath(QString::fromLatin1(name)));
    }
}

// The real main window on an empty network, its model loaded.
struct ModelWindow {
    static Platform& emptyNetwork(Platform& p)
    {
        test::installEmptyNetwork(p);
        return p;
    }
    QTemporaryDir dir;
    Platform platform;
    ModelSceneHooks hooks{*emptyNetwork(platform).messages, *platform.programEnd};
    std::unique_ptr<Frmmain> window = std::make_unique<Frmmain>(platform, dir.path().toStdString(), hooks);

    ModelWindow() { window->loadStep(nullptr); }
};

// A click on the lip of unit k's tray (1-based).
void clickTray(Scene& scene, ModelView& view, int unit)
{
    scene.SceneRoot->UpdateFrames(scene.context().SceneWorldMatrix);
    const Vector lip =
        scene.UnitFrames[static_cast<std::size_t>(unit - 1)]->TransformCoord(Vector(0.8f, 0.16f, -1.78f));
    const Vector p = Vec3Project(lip, view.device().GetViewport(), scene.context().SceneProjectionMatrix,
                                 scene.context().SceneViewMatrix, Matrix(1.0f));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(qRound(p.x), qRound(p.y)));
}

} // namespace

TEST(DriveSelectionWindow, AClickOnARedDriveShowsItsFaultAndTheResetClearsTheDisplay)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display with OpenGL (run under Xvfb)";
    ModelWindow rig;
    Frmmain& window = *rig.window;
    ModelSceneHooks& hooks = rig.hooks;
    ASSERT_TRUE(hooks.scene()->ModelLoaded);

    // What the evaluation leaves for a node with an OK, a warning and two failed drives.
    const DriveStatus drives[] = {Drive(1, "OK", StatusColour::Green), Drive(2, "Unknown", StatusColour::Amber),
                                  Drive(3, "Error", StatusColour::Red), Drive(4, "Pred Fail", StatusColour::Red)};
    Scene& scene = *hooks.scene();
    ShowUnitsForDrives(scene, 4, true);
    for (std::size_t k = 1; k <= 4; ++k) {
        window.state().drives.table.add() = drives[k - 1];
        hooks.drivePainter().decide_colour(DrivePartName(k), drives[k - 1].colour);
    }
    auto* view = window.findChild<ModelView*>("PicGR");
    QTest::qWait(100);
    saveShot(window.grab().toImage(), "model-painted.png");

    clickTray(scene, *view, 3);
    QTest::qWait(100);

    auto* heading = window.findChild<QLabel*>("Label5");
    EXPECT_EQ(heading->text(), "CD 3 Sensor");
    EXPECT_EQ(heading->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(window.findChild<QLabel*>("Label18")->text(), "Error");
    EXPECT_FALSE(window.findChild<QLabel*>("pic_dial(0)")->pixmap().isNull());
    EXPECT_EQ(window.findChild<QLabel*>("lblstatusmsg")->text(), "Error");
    EXPECT_EQ(window.findChild<QLabel*>("Label16")->text(), "Power Off");
    EXPECT_EQ(window.findChild<QLabel*>("Label13")->text(), "21");
    EXPECT_EQ(window.findChild<QLabel*>("Label11")->text(), "the drive does not answer");
    EXPECT_FALSE(window.findChild<QLabel*>("lblavailmsg")->isVisible());
    saveShot(window.grab().toImage(), "detail-panel-red-drive.png");
    saveShot(window.findChild<QWidget*>("Picture3")->grab().toImage(), "detail-panel.png");

    auto* red = window.findChild<QTableWidget*>("gridred");
    const int designedWidth = window.logicalDpiX() * 3786 / 1440;
    EXPECT_EQ(red->item(0, 4)->text(), "Name") << "start-up writes the headers";
    EXPECT_NE(red->columnWidth(0), designedWidth) << "but leaves the widths before the density is known";
    window.findChild<QLabel*>("lblred")->setText("2");
    red->setRowCount(2);
    red->setItem(1, 2, new QTableWidgetItem("Error"));
    window.clr_meshes();
    EXPECT_EQ(window.findChild<QLabel*>("lblred")->text(), "0");
    EXPECT_EQ(red->rowCount(), 2) << "rows stay, emptied";
    EXPECT_EQ(red->item(1, 2)->text(), "");
    EXPECT_EQ(red->item(0, 1)->text(), "Sensor");
    EXPECT_EQ(red->columnWidth(0), designedWidth) << "after the first reset the widths follow the density";
    EXPECT_EQ(window.state().drives.table.DriveCount(), 0u);
    for (int unit = 1; unit <= 4; ++unit)
        EXPECT_TRUE(scene.SceneRoot->FindChildObject(DrivePartName(unit)).frame->GetChildMesh(0)->bUseMaterials);
    EXPECT_EQ(heading->text(), "CD 3 Sensor") << "the panel keeps its content";
}

// The hardware tree is a way to every drive without the mouse: its entries,
// clicked or reached with the arrows, fill the detail panel as a tray click
// does, and a tray click makes its drive the tree's current entry.
TEST(DriveSelectionWindow, TheHardwareTreeLeadsToEveryDriveByKeyboard)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display with OpenGL (run under Xvfb)";
    ModelWindow rig;
    Frmmain& window = *rig.window;
    ModelSceneHooks& hooks = rig.hooks;
    ASSERT_TRUE(hooks.scene()->ModelLoaded);
    // The fourth drive's codes matched no row.
    const DriveStatus drives[] = {Drive(1, "OK", StatusColour::Green), Drive(2, "Error", StatusColour::Red),
                                  Drive(3, "Unknown", StatusColour::Amber), Drive(4, "Odd", StatusColour::None)};
    TreeView& tree = window.hardwareTree();
    tree.addEntry({}, DrivesKey, "Drives", "cd", 0);
    for (std::size_t k = 1; k <= 4; ++k) {
        window.state().drives.table.add() = drives[k - 1];
        tree.addEntry(DrivesKey, driveEntryKey(k), "DVD " + std::to_string(k), "dvd", 0);
    }
    auto* trView = window.findChild<QTreeWidget*>("TrView1");
    trView->expandAll();
    window.show();
    trView->setFocus();
    trView->setCurrentItem(trView->topLevelItem(0));
    auto* heading = window.findChild<QLabel*>("Label5");
    auto* word = window.findChild<QLabel*>("Label18");
    const struct {
        const char* heading;
        const char* word;
    } steps[] = {{"CD 1 Sensor", "OK"}, {"CD 2 Sensor", "Error"}, {"CD 3 Sensor", "Warning"},
                 {"CD 4 Sensor", "Unknown"}};
    for (const auto& step : steps) {
        QTest::keyClick(trView, Qt::Key_Down);
        EXPECT_EQ(heading->text(), step.heading);
        EXPECT_EQ(word->text(), step.word);
    }
    EXPECT_EQ(heading->palette().color(QPalette::Window), QColor(128, 128, 128)) << "unknown is grey";
    QTest::keyClick(trView, Qt::Key_Up);
    QTest::keyClick(trView, Qt::Key_Up);
    EXPECT_EQ(heading->text(), "CD 2 Sensor");
    EXPECT_EQ(window.findChild<QLabel*>("Label11")->text(), "the drive does not answer");
    // The window at its smallest still shows the whole panel (for the README, at each scale).
    window.resize(1, 1);
    QTest::qWait(100);
    saveShot(window.grab().toImage(), "minimum-size.png");

    // A click on the first unit's tray: the tree follows.
    Scene& scene = *hooks.scene();
    ShowUnitsForDrives(scene, 3, true);
    QTest::qWait(100);
    clickTray(scene, *window.findChild<ModelView*>("PicGR"), 1);
    EXPECT_EQ(heading->text(), "CD 1 Sensor");
    EXPECT_EQ(window.hardwareTree().keyOf(trView->currentItem()), driveEntryKey(1));
}
