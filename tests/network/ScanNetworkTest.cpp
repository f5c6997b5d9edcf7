#include "network/NetworkRig.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using Names = std::vector<std::string>;

class ScanNetworkTest : public testing::Test {
protected:
    test::NetworkRig rig;
};

TEST_F(ScanNetworkTest, FirstScanBuildsRecordsInListedOrderAndShowsTree)
{
    rig.listed({"WS-ADMIN", "PC-2", "PC-1"});

    rig.discovery.ScanNetwork();

    ASSERT_EQ(rig.names(), (Names{"WS-ADMIN", "PC-2", "PC-1"}));
    const NodeRecord& r = rig.table.at(2);
    EXPECT_EQ(r.Node, "PC-2");
    EXPECT_EQ(r.Login, "");
    EXPECT_EQ(r.Password, "");
    EXPECT_EQ(r.Enabled, "True");
    EXPECT_EQ(r.Scanned, "False");
    EXPECT_EQ(r.IP, "");
    EXPECT_TRUE(rig.tree.visible);
    EXPECT_EQ(rig.state.firstScanCount, 3u);
    EXPECT_FALSE(rig.flags.NewNodesFound);
    EXPECT_EQ(rig.sockets.startups, 1);
    EXPECT_EQ(rig.dialog.statuses,
              (Names{"Getting list of nodes on network...", "Network node list completed"}));
    // A header row and one row per record, whatever the grid held before.
    EXPECT_EQ(rig.dialog.grid.size(), 4u);
    EXPECT_EQ(rig.dialog.grid[0], (Names{"Name", "Node", "IP", "", ""}));
    EXPECT_EQ(rig.dialog.column(0, 1, 3), (Names{"WS-ADMIN", "PC-2", "PC-1"}));
    EXPECT_EQ(rig.state.firstScanRows, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(rig.boxes.log().empty());
}

TEST_F(ScanNetworkTest, FirstScanKeepsANameListedTwice)
{
    rig.listed({"PC-1", "PC-1"});

    rig.discovery.ScanNetwork();

    EXPECT_EQ(rig.names(), (Names{"PC-1", "PC-1"}));
}

// An empty network and a platform error both leave everything as it was.
TEST_F(ScanNetworkTest, NothingListedChangesNothing)
{
    for (std::uint32_t code : {0u, 5u}) {
        test::NetworkRig r;
        r.known({"OLD"});
        r.state.RescanMode = true;
        r.flags.NewNodesFound = true; // reset by every scan
        r.enumerator.answer = {code, {}};

        r.discovery.ScanNetwork();

        EXPECT_EQ(r.names(), Names{"OLD"});
        EXPECT_FALSE(r.flags.NewNodesFound);
        EXPECT_TRUE(r.dialog.statuses.empty()) << code;
        EXPECT_EQ(r.dialog.clears, 0);
        EXPECT_EQ(r.dialog.grid.size(), 2u);
        EXPECT_FALSE(r.tree.visible);
        EXPECT_EQ(r.boxes.boxes().size(), code == 0 ? 0u : 1u);
    }
}

TEST_F(ScanNetworkTest, RescanAppendsOnlyNewNamesExactlyAndInListedOrder)
{
    rig.known({"PC-1", "PC-2"});
    rig.table.at(1).IP = "10.0.0.1";
    rig.table.at(1).Login = "admin";
    rig.state.RescanMode = true;
    // "pc-1" differs only in case: new. "NEW" listed twice: appended once.
    rig.listed({"NEW", "PC-2", "pc-1", "PC-1", "NEW", "ZED"});

    rig.discovery.ScanNetwork();

    EXPECT_EQ(rig.names(), (Names{"PC-1", "PC-2", "NEW", "pc-1", "ZED"}));
    EXPECT_EQ(rig.table.at(1).IP, "10.0.0.1");
    EXPECT_EQ(rig.table.at(1).Login, "admin");
    EXPECT_EQ(rig.table.at(3).Enabled, "True");
    EXPECT_EQ(rig.table.at(3).IP, "");
    EXPECT_TRUE(rig.flags.NewNodesFound);
    EXPECT_EQ(rig.state.RescanNames, (Names{"NEW", "PC-2", "pc-1", "PC-1", "NEW", "ZED"}));
    EXPECT_EQ(rig.state.firstScanCount, 0u);
    EXPECT_TRUE(rig.state.firstScanRows.empty());
    EXPECT_FALSE(rig.tree.visible) << "only a first scan shows the tree";
    // Old and new records alike are listed.
    EXPECT_EQ(rig.dialog.column(0, 1, 5), (Names{"PC-1", "PC-2", "NEW", "pc-1", "ZED"}));
}

TEST_F(ScanNetworkTest, RescanOfKnownNamesOnlyListsThem)
{
    rig.known({"PC-1", "PC-2"});
    rig.state.RescanMode = true;
    rig.listed({"PC-2", "PC-1"});

    rig.discovery.ScanNetwork();

    EXPECT_EQ(rig.names(), (Names{"PC-1", "PC-2"}));
    EXPECT_FALSE(rig.flags.NewNodesFound);
    EXPECT_EQ(rig.dialog.column(0, 1, 2), (Names{"PC-1", "PC-2"}));
    EXPECT_EQ(rig.dialog.statuses.back(), "Network node list completed");
}

// The dialog repaints during long lists: a yield before every name and row.
TEST_F(ScanNetworkTest, YieldsBeforeEveryNameAndRow)
{
    rig.listed({"A", "B", "C"});
    rig.discovery.ScanNetwork();
    // 3 names + 1 after them + 1 after clearing the grid + 3 rows
    EXPECT_EQ(rig.pace.yields, 8);
}

TEST_F(ScanNetworkTest, FailureAfterEnumerationKeepsWhatWasDoneAndAsks)
{
    rig.listed({"A", "B"});
    struct ThrowingDialog : test::RecordingDialog {
        void setGridRowCount(int) override { throw std::runtime_error("grid gone"); }
    } broken;
    NetworkDiscovery discovery{NetworkContext{rig.table, rig.flags, rig.state, broken, rig.boxes}, rig.pace,
                               rig.enumerator, rig.sockets, rig.tree};

    discovery.ScanNetwork();

    EXPECT_EQ(rig.names(), (Names{"A", "B"}));
    EXPECT_EQ(rig.boxes.boxes(), (std::vector<ScriptedMessageBoxes::Box>{{"Unable to retrieve network node list!",
                                                             "Message from VORLU OPTICAL", MessageIcon::Question}}));
    EXPECT_NE(broken.statuses.back(), "Network node list completed");
}

} // namespace
} // namespace vorlu
