#include "network/NetworkRig.h"

#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

using Names = std::vector<std::string>;

class NetworkScanCommandsTest : public testing::Test {
protected:
    test::NetworkRig rig;
};

TEST_F(NetworkScanCommandsTest, InitialMenuStateFollowsTheNodeFile)
{
    rig.commands.setInitialMenuState(false);
    EXPECT_EQ(rig.menu.networkScan, true);
    EXPECT_EQ(rig.menu.rescan, false);
    rig.commands.setInitialMenuState(true);
    EXPECT_EQ(rig.menu.networkScan, false);
    EXPECT_EQ(rig.menu.rescan, true);
}

TEST_F(NetworkScanCommandsTest, NetworkScanBuildsResolvesAndSwitchesMenus)
{
    rig.dialog.caption = "Status";
    rig.listed({"PC-1", "PC-2"});
    rig.sockets.hosts = {{"PC-1", {10, 0, 0, 1}}, {"PC-2", {10, 0, 0, 2}}};

    EXPECT_TRUE(rig.commands.NetworkScan());

    EXPECT_EQ(rig.dialog.caption, "Scan List");
    EXPECT_EQ(rig.dialog.shown, 1);
    EXPECT_EQ(rig.addresses(), (Names{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(rig.dialog.column(2, 1, 2), (Names{"10.0.0.1", "10.0.0.2"}));
    EXPECT_TRUE(rig.flags.NetworkListBuilt);
    EXPECT_FALSE(rig.state.RescanMode);
    EXPECT_EQ(rig.menu.networkScan, false);
    EXPECT_EQ(rig.menu.rescan, true);
    EXPECT_EQ(rig.rebuilds, 0);
    EXPECT_FALSE(rig.gate.busy());
}

TEST_F(NetworkScanCommandsTest, RescanOfKnownComputersNeitherResolvesNorRebuilds)
{
    rig.known({"PC-1"});
    rig.table.at(1).IP = "10.0.0.1";
    rig.listed({"PC-1"});

    EXPECT_TRUE(rig.commands.ReScan());

    EXPECT_TRUE(rig.state.RescanMode);
    EXPECT_FALSE(rig.flags.NewNodesFound);
    EXPECT_EQ(rig.sockets.lookups.load(), 0);
    EXPECT_EQ(rig.rebuilds, 0);
    EXPECT_EQ(rig.dialog.caption, "Scan List");
    EXPECT_EQ(rig.dialog.cell(1, 0), "PC-1");
    EXPECT_EQ(rig.dialog.statuses.back(), "Network node list completed: no new computers found");
}

TEST_F(NetworkScanCommandsTest, RescanWithNewComputersResolvesAllAndRebuildsTree)
{
    rig.known({"PC-1"});
    rig.listed({"PC-1", "PC-2"});
    rig.sockets.hosts = {{"PC-1", {10, 0, 0, 1}}, {"PC-2", {10, 0, 0, 2}}};

    EXPECT_TRUE(rig.commands.ReScan());

    EXPECT_TRUE(rig.flags.NewNodesFound);
    EXPECT_EQ(rig.addresses(), (Names{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(rig.rebuilds, 1);
    EXPECT_FALSE(rig.flags.NetworkListBuilt);
}

TEST_F(NetworkScanCommandsTest, ScanListOfEmptyTableDoesNotOpenTheDialog)
{
    EXPECT_TRUE(rig.commands.ScanList());
    EXPECT_EQ(rig.dialog.shown, 0);
    EXPECT_TRUE(rig.dialog.statuses.empty());
}

TEST_F(NetworkScanCommandsTest, ScanListListsRecordsInRowsOneToN)
{
    rig.dialog.caption = "Status"; // as a double-click in the node tree leaves it
    rig.known({"PC-1", "PC-2"});
    rig.table.at(1).Node = "Front desk";
    rig.table.at(1).IP = "10.0.0.1";
    rig.dialog.setGridCell(1, 4, "stale");

    EXPECT_TRUE(rig.commands.ScanList());

    EXPECT_EQ(rig.dialog.shown, 1);
    EXPECT_EQ(rig.dialog.caption, "Status");
    EXPECT_EQ(rig.dialog.statuses, Names{""});
    EXPECT_EQ(rig.dialog.grid[0], (Names{"Name", "Node", "IP", "", ""}));
    EXPECT_EQ(rig.dialog.grid[1], (Names{"PC-1", "Front desk", "10.0.0.1", "", ""}));
    EXPECT_EQ(rig.dialog.grid[2], (Names{"PC-2", "PC-2", "", "", ""}));
    EXPECT_EQ(rig.dialog.grid.size(), 3u) << "a header row and one row per record";
    // Columns 3 and 4 never hold anything.
    EXPECT_EQ(rig.dialog.columnsShown, (std::map<int, bool>{{0, true}, {1, true}, {2, true}, {3, false}, {4, false}}));
}

// Shown again and again, the list keeps one header row and one row per
// record, after scans and listings alike.
TEST_F(NetworkScanCommandsTest, GridRowsAreSetEveryTime)
{
    rig.known({"PC-1", "PC-2", "PC-3"});
    rig.commands.ScanList();
    rig.listed({"PC-1"});
    rig.commands.ReScan();
    rig.commands.ReScan();
    EXPECT_EQ(rig.dialog.grid.size(), 4u);
    EXPECT_EQ(rig.dialog.grid[0], (Names{"Name", "Node", "IP", "", ""}));
    EXPECT_EQ(rig.dialog.column(0, 1, 3), (Names{"PC-1", "PC-2", "PC-3"}));
    rig.commands.ScanList();
    EXPECT_EQ(rig.dialog.grid.size(), 4u);
}

// Cancel after the first scan, or while it runs, lets the user run it again.
TEST_F(NetworkScanCommandsTest, CancelledFirstScanLeavesNetworkScanEnabled)
{
    rig.listed({"PC-1"});
    rig.commands.setInitialMenuState(false);
    rig.commands.NetworkScan();
    EXPECT_EQ(rig.menu.networkScan, false);
    rig.commands.DialogCancelled();
    EXPECT_EQ(rig.menu.networkScan, true);
    EXPECT_EQ(rig.menu.rescan, true);

    test::NetworkRig during;
    during.listed({"PC-1"});
    during.pace.onYield = [&] { during.commands.DialogCancelled(); };
    during.commands.NetworkScan();
    EXPECT_EQ(during.menu.networkScan, true);
    EXPECT_TRUE(during.flags.NetworkListBuilt) << "a later OK still saves the list";
}

TEST_F(NetworkScanCommandsTest, ListingFailureAsks)
{
    rig.known({"PC-1"});
    bool thrown = false;
    rig.pace.onYield = [&] {
        if (!thrown) {
            thrown = true;
            throw std::runtime_error("grid gone");
        }
    };

    rig.commands.ScanList();

    EXPECT_EQ(rig.boxes.boxes(), (std::vector<ScriptedMessageBoxes::Box>{{"Unable to list network nodes!",
                                                             "Message from VORLU OPTICAL", MessageIcon::Question}}));
}

// Commands started while a scan waits for the event loop are refused with a
// status text and leave the running scan's work alone.
TEST_F(NetworkScanCommandsTest, CommandsDuringAScanAreRefused)
{
    rig.listed({"PC-1", "PC-2"});
    rig.sockets.hosts = {{"PC-1", {10, 0, 0, 1}}, {"PC-2", {10, 0, 0, 2}}};
    rig.sockets.latencyMs = 300;
    std::vector<bool> results;
    rig.pace.onYield = [&] {
        if (results.empty())
            results.push_back(rig.commands.ScanList());
    };
    QTimer::singleShot(20, [&] {
        results.push_back(rig.commands.ReScan());
        results.push_back(rig.commands.NetworkScan());
    });

    EXPECT_TRUE(rig.commands.NetworkScan());

    EXPECT_EQ(results, (std::vector<bool>{false, false, false}));
    const auto refusals = std::count(rig.dialog.statuses.begin(), rig.dialog.statuses.end(),
                                     std::string(CommandGate::busyText));
    EXPECT_EQ(refusals, 3);
    EXPECT_EQ(rig.enumerator.calls, 1);
    EXPECT_FALSE(rig.state.RescanMode);
    EXPECT_EQ(rig.addresses(), (Names{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(rig.dialog.statuses.back(), "Network node list completed");

    // Once the scan has ended, commands run again.
    rig.pace.onYield = nullptr;
    EXPECT_TRUE(rig.commands.ScanList());
}

} // namespace
} // namespace vorlu
