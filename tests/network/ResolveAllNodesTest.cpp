#include "network/NetworkRig.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

using Names = std::vector<std::string>;

class ResolveAllNodesTest : public testing::Test {
protected:
    test::NetworkRig rig;
};

// Lookups finish out of order (the first is slowest), yet the status line and
// the records follow record order, and the unknown name between two known
// ones is the only empty address.
TEST_F(ResolveAllNodesTest, AnswersApplyInRecordOrderWhateverOrderTheyArrive)
{
    rig.listed({"A", "B", "C"});
    rig.sockets.hosts = {{"A", {192, 168, 1, 20}}, {"C", {10, 0, 0, 7}}};
    rig.sockets.delays = {{"A", 80}, {"B", 40}, {"C", 0}};
    rig.discovery.ScanNetwork();
    rig.dialog.statuses.clear();

    rig.discovery.ResolveAllNodes();

    EXPECT_EQ(rig.addresses(), (Names{"192.168.1.20", "", "10.0.0.7"}));
    EXPECT_EQ(rig.dialog.statuses,
              (Names{"Resolve IP address for A", "Resolve IP address for B", "Can't resolve name.",
                     "Resolve IP address for C", "Network node list completed"}));
    EXPECT_TRUE(rig.boxes.boxes().empty());
    // The address goes beside the name the first scan wrote, each as it
    // arrives, and the count and bar follow.
    EXPECT_EQ(rig.dialog.column(2, 1, 3), (Names{"192.168.1.20", "", "10.0.0.7"}));
    EXPECT_EQ(rig.dialog.column(0, 1, 3), (Names{"A", "B", "C"}));
    using Step = std::pair<std::size_t, std::size_t>;
    EXPECT_EQ(rig.dialog.progress, (std::vector<Step>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(ResolveAllNodesTest, LookupsRunInParallelButNeverMoreThanSixteen)
{
    std::vector<std::string> storage;
    for (int i = 0; i < 40; ++i)
        storage.push_back("PC-" + std::to_string(i));
    for (const auto& s : storage) {
        rig.table.append(discoveredNode(s));
        rig.sockets.hosts[s] = {10, 0, 0, static_cast<std::uint8_t>(rig.table.count())};
    }
    rig.sockets.latencyMs = 20;

    rig.discovery.ResolveAllNodes();

    EXPECT_GT(rig.sockets.maxRunning.load(), 1);
    EXPECT_LE(rig.sockets.maxRunning.load(), 16);
    EXPECT_EQ(rig.sockets.lookups.load(), 40);
    for (std::size_t n = 1; n <= rig.table.count(); ++n)
        EXPECT_EQ(rig.table.at(n).IP, "10.0.0." + std::to_string(n));
}

// The window keeps handling events while names are looked up.
TEST_F(ResolveAllNodesTest, EventsRunWhileWaiting)
{
    rig.known({"SLOW"});
    rig.sockets.hosts["SLOW"] = {1, 2, 3, 4};
    rig.sockets.latencyMs = 300;
    std::string statusWhenTimerFired;
    QTimer::singleShot(10, [&] { statusWhenTimerFired = rig.dialog.statuses.back(); });

    rig.discovery.ResolveAllNodes();

    EXPECT_EQ(statusWhenTimerFired, "Resolve IP address for SLOW");
    EXPECT_EQ(rig.table.at(1).IP, "1.2.3.4");
}

// After a Re-Scan every record gets a fresh address, but the grid's address
// column keeps what the listing showed: it lists no first scan.
TEST_F(ResolveAllNodesTest, AfterRescanAllRecordsResolvedGridUntouched)
{
    rig.known({"OLD"});
    rig.table.at(1).IP = "10.9.9.9";
    rig.state.RescanMode = true;
    rig.listed({"OLD", "NEW"});
    rig.sockets.hosts = {{"OLD", {10, 0, 0, 1}}, {"NEW", {10, 0, 0, 2}}};
    rig.discovery.ScanNetwork();

    rig.discovery.ResolveAllNodes();

    EXPECT_EQ(rig.addresses(), (Names{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(rig.dialog.column(2, 1, 2), (Names{"10.9.9.9", ""}));
}

// An address found by an address scan or given by hand is not thrown away
// because the name is in no resolver.
TEST_F(ResolveAllNodesTest, ANameNoResolverKnowsKeepsItsAddress)
{
    rig.known({"SRV-NB12", "PC-DNS"});
    rig.table.at(1).IP = "10.78.0.12";
    rig.table.at(2).IP = "10.0.0.1";
    rig.sockets.hosts = {{"PC-DNS", {10, 0, 0, 2}}};

    rig.discovery.ResolveAllNodes();

    EXPECT_EQ(rig.addresses(), (Names{"10.78.0.12", "10.0.0.2"}));
    EXPECT_NE(std::find(rig.dialog.statuses.begin(), rig.dialog.statuses.end(), "Can't resolve name."),
              rig.dialog.statuses.end());
}

TEST_F(ResolveAllNodesTest, BrokenLookupShowsBoxAndGoesOn)
{
    rig.known({"A", "BROKEN", "C"});
    rig.sockets.hosts = {{"A", {1, 1, 1, 1}}, {"BROKEN", {9, 9, 9, 9}}, {"C", {3, 3, 3, 3}}};
    rig.sockets.throwingName = "BROKEN";

    rig.discovery.ResolveAllNodes();

    EXPECT_EQ(rig.addresses(), (Names{"1.1.1.1", "", "3.3.3.3"}));
    EXPECT_EQ(rig.boxes.boxes(), (std::vector<ScriptedMessageBoxes::Box>{{"Can't resolve name.", "Message from VORLU OPTICAL",
                                                             MessageIcon::Question}}));
    EXPECT_EQ(rig.dialog.statuses.back(), "Network node list completed");
}

TEST_F(ResolveAllNodesTest, FailureKeepsResolvedRecordsAndAsks)
{
    rig.known({"A", "B", "C"});
    rig.sockets.hosts = {{"A", {1, 1, 1, 1}}, {"B", {2, 2, 2, 2}}, {"C", {3, 3, 3, 3}}};
    rig.dialog.onStatus = [](const std::string& text) {
        if (text == "Resolve IP address for C")
            throw std::runtime_error("dialog gone");
    };

    rig.discovery.ResolveAllNodes();

    EXPECT_EQ(rig.addresses(), (Names{"1.1.1.1", "2.2.2.2", ""}));
    EXPECT_EQ(rig.boxes.boxes(), (std::vector<ScriptedMessageBoxes::Box>{{"Unable to resolve IP!", "Message from VORLU OPTICAL",
                                                             MessageIcon::Question}}));
}

TEST_F(ResolveAllNodesTest, EmptyTableOnlyCompletes)
{
    rig.discovery.ResolveAllNodes();
    EXPECT_EQ(rig.dialog.statuses, Names{"Network node list completed"});
}

} // namespace
} // namespace vorlu
