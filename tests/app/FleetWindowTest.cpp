// The fleet view as the program opens it: in a session of its own after two
// nightly checks, its rows come from the program folder, the selected drive
// lists its changes and a double-click shows the node as the node tree does.
#include "app/CommandMenus.h"
#include "app/InventoryWiring.h"
#include "app/MainWindow.h"
#include "app/TreeWidgetView.h"
#include "fleet/FleetHistory.h"
#include "fleet/HeadlessCheck.h"
#include "fleet/ui/FleetViewWindow.h"
#include "network/NodeTree.h"
#include "nodes/NodeFile.h"
#include "support/FleetTestNetwork.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"

#include <QAction>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <sstream>

using namespace vorlu;
using namespace vorlu::test;

namespace {

std::string fleetOf(const char* pc1Status)
{
    return simComputer(1, simDrive("D:", pc1Status)) + "," + simComputer(2, "", 0, false);
}

int rowOf(QTableWidget& table, const QString& node)
{
    for (int r = 0; r < table.rowCount(); ++r)
        if (table.item(r, 0)->text() == node)
            return r;
    return -1;
}

// A program folder whose node file lists PC1..PC<nodes>, and a session of the
// program on it, started when asked.
struct FleetFolder {
    QTemporaryDir dir;
    std::filesystem::path folder = dir.path().toStdString();
    Platform platform;
    SceneHooks scene;
    std::unique_ptr<Frmmain> window;

    explicit FleetFolder(int nodes)
    {
        NodeTable table;
        for (int i = 1; i <= nodes; ++i)
            table.append(simNode(i));
        EXPECT_TRUE(saveNodeFile(folder / NodeFileName, table, NodeFileForm::Plain));
    }
    Frmmain& start(const char* pc1Status)
    {
        installSimulatedNetwork(platform, simNetwork(fleetOf(pc1Status)));
        platform.messages = std::make_unique<ScriptedMessageBoxes>();
        platform.programEnd = std::make_unique<RecordingProgramEnd>();
        window = std::make_unique<Frmmain>(platform, folder, scene);
        window->loadStep(nullptr);
        return *window;
    }
};

} // namespace

TEST(FleetWindow, AFreshSessionShowsTheStoredFleetItsChangesAndADoubleClickSelectsTheTreeNode)
{
    FleetFolder f(2);
    // Two nightly checks: D: of PC1 turns from green to red, PC2 refuses both times.
    for (const char* status : {"OK", "Error"}) {
        SimulatedManagement management(simNetwork(fleetOf(status)));
        std::ostringstream out;
        ASSERT_EQ(runDiagnoseAllCheck({f.folder, std::nullopt, "1.60"}, management, out), CheckCritical)
            << out.str();
    }

    Frmmain& window = f.start("Error");
    auto* tree = window.findChild<QTreeWidget*>("TreeView1");
    QTreeWidgetItem* pc1 = window.nodeTree().entry(nodeKey(1));
    QTreeWidgetItem* pc2 = window.nodeTree().entry(nodeKey(2));
    ASSERT_TRUE(tree && pc1 && pc2);
    tree->setCurrentItem(pc2);

    emit window.menus().item().mnufleet->triggered(false);
    FleetViewWindow& view = window.inventory().fleetView();
    EXPECT_TRUE(view.isVisible());
    QTableWidget& table = view.driveTable();
    ASSERT_EQ(table.rowCount(), 2);
    const int drive = rowOf(table, "PC1");
    const int refused = rowOf(table, "PC2");
    ASSERT_GE(drive, 0);
    ASSERT_GE(refused, 0);
    EXPECT_EQ(table.item(drive, 2)->text(), "D:");
    EXPECT_EQ(table.item(drive, 4)->text(), "red");
    EXPECT_FALSE(table.item(drive, 8)->text().isEmpty()) << "in state since";
    EXPECT_EQ(table.item(refused, 4)->text(), "not reached");
    EXPECT_EQ(table.item(refused, 5)->text(), "Access denied");
    EXPECT_FALSE(table.item(refused, 7)->text().isEmpty()) << "the reason";

    table.selectRow(drive);
    QTableWidget& changes = view.changeTable();
    ASSERT_EQ(changes.rowCount(), 2);
    EXPECT_EQ(changes.item(0, 0)->text(), table.item(drive, 8)->text());
    EXPECT_EQ(changes.item(0, 1)->text(), "green");
    EXPECT_EQ(changes.item(0, 2)->text(), "red");
    EXPECT_EQ(changes.item(1, 2)->text(), "green");

    emit table.cellDoubleClicked(drive, 3);
    EXPECT_EQ(tree->currentItem(), pc1);
    EXPECT_EQ(window.state().SelectedNode, 1u);
    EXPECT_EQ(window.findChild<QLabel*>("Label4")->text(), "PC1");
    EXPECT_EQ(window.findChild<QLabel*>("lblred")->text(), "1");
    auto* hardware = window.findChild<QTreeWidget*>("TrView1");
    ASSERT_EQ(hardware->topLevelItemCount(), 1);
    EXPECT_EQ(hardware->topLevelItem(0)->child(0)->childCount(), 1);
}

TEST(FleetWindow, ASingleNodesDiagnosticsScanIsRecordedInTheHistoryAndShownInTheOpenView)
{
    FleetFolder f(1);
    std::filesystem::create_directory(f.folder / "PC1"); // as the network scan left it
    Frmmain& window = f.start("Error");
    window.state().SelectedNode = 1;

    emit window.menus().item().mnufleet->triggered(false);
    QTableWidget& table = window.inventory().fleetView().driveTable();
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.item(0, 5)->text(), "Not diagnosed");

    window.image1Clicked(6); // "Scan Current Node": the report names the drives
    emit window.menus().item().mnucurnddia->triggered(false);
    std::string error;
    auto history = FleetHistory::open(f.folder / HistoryFileName, error);
    ASSERT_TRUE(history) << error;
    const auto changes = history->changes("PC1", "D:");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].state, "red");

    // The view open beside the main window follows the scan.
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.item(0, 4)->text(), "red");
    EXPECT_EQ(table.item(0, 8)->text().toStdString(), changes[0].at) << "in state since the scan";
}

TEST(FleetWindow, DiagnoseAllNodesFromTheMenuFillsTheViewWithEveryNode)
{
    FleetFolder f(2);
    Frmmain& window = f.start("OK");

    emit window.menus().item().mnudiagallnodes->triggered(false);
    EXPECT_EQ(window.findChild<QLabel*>("lblmainstatus")->text(),
              "Diagnose All Nodes: 2 of 2 nodes diagnosed, 0 red, 0 amber, 1 green, 1 not reached");
    FleetViewWindow& view = window.inventory().fleetView();
    EXPECT_FALSE(view.isVisible()) << "filled, not opened";
    QTableWidget& table = view.driveTable();
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(rowOf(table, "PC1"), 4)->text(), "green");
    EXPECT_EQ(table.item(rowOf(table, "PC2"), 5)->text(), "Access denied");
}
