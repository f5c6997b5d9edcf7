// The address commands over fakes: what a scan adds and shows, the restart
// it leads to, nodes added by hand and the node's own connection kept in
// its file and handed to the management connections.
#include "addresses/AddressCommands.h"
#include "addresses/AddressTexts.h"
#include "network/NetworkRig.h"
#include "network/ScanListOk.h"

#include <QTemporaryDir>
#include "addresses/FoundComputers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vorlu {
namespace {

class FakeViews : public AddressViews {
public:
    std::optional<std::string> askRange(const std::string& proposed) override
    {
        proposedRange = proposed;
        return range;
    }
    std::optional<NewNodeInput> askNewNode() override { return newNode; }
    std::optional<ConnectionChoice> askConnection(const std::string& nodeName,
                                                  const std::optional<NodeConnection>& current,
                                                  const RemoteTransport&) override
    {
        askedFor = nodeName;
        shownConnection = current;
        return choice;
    }
    std::optional<std::string> range;
    std::string proposedRange;
    std::optional<NewNodeInput> newNode;
    std::optional<ConnectionChoice> choice;
    std::string askedFor;
    std::optional<NodeConnection> shownConnection;
};

struct Rig : test::NetworkRig {
    QTemporaryDir dir;
    FakeViews views;
    std::vector<FoundComputer> found;
    int scans = 0;
    std::map<std::string, NodeConnection> published;
    AddressCommands address{context(), pace, gate, views, dir.path().toStdString(), services()};

    AddressCommands::Services services()
    {
        AddressCommands::Services s;
        s.scan = [this](const AddressRange& range, ScanControl* control) {
            ++scans;
            control->probed = range.count;
            return found;
        };
        s.resolve = [](const std::string& name) { return name == "SRV-DNS" ? std::string("10.0.0.40") : ""; };
        s.programTransport = [] { return RemoteTransport{}; };
        s.rebuildNetworkTree = [this] { ++rebuilds; };
        s.publish = [this](std::map<std::string, NodeConnection> byServer) { published = std::move(byServer); };
        return s;
    }
    std::filesystem::path file() const
    {
        return std::filesystem::path(dir.path().toStdString()) / NodeConnectionsFileName;
    }
};

TEST(AddressCommands, ScanJoinsTheNewComputersAndTheOkAsksForTheRestart)
{
    Rig rig;
    NodeRecord known = discoveredNode("PC-A");
    known.IP = "10.0.0.5";
    rig.table.append(known);
    rig.found = {test::foundComputer("10.0.0.5", "ELSEWHERE", {5985}), test::foundComputer("10.0.0.7", "SRV-TLS", {5986}),
                 test::foundComputer("10.0.0.8", "SRV-PLAIN", {5985})};
    rig.views.range = "10.0.0.0/24";
    ASSERT_TRUE(rig.address.ScanAddresses("10.0.0.10"));

    EXPECT_EQ(rig.views.proposedRange, "10.0.0.0/24");
    EXPECT_EQ(rig.names(), (std::vector<std::string>{"PC-A", "SRV-TLS", "SRV-PLAIN"}));
    EXPECT_EQ(rig.addresses(), (std::vector<std::string>{"10.0.0.5", "10.0.0.7", "10.0.0.8"}));
    EXPECT_EQ(rig.dialog.caption, ScanAddressesCaption);
    EXPECT_EQ(rig.dialog.column(0, 1, 3), (std::vector<std::string>{"ELSEWHERE", "SRV-TLS", "SRV-PLAIN"}));
    EXPECT_EQ(rig.dialog.statuses.back(),
              "Address scan completed: 3 computers answered in 10.0.0.1-10.0.0.254, 2 new nodes");
    EXPECT_EQ(rig.dialog.progress.back(), (std::pair<std::size_t, std::size_t>{254, 254}));
    EXPECT_EQ(rig.rebuilds, 1);
    EXPECT_TRUE(rig.flags.NewNodesFound);
    EXPECT_EQ(scanListOk(rig.flags), ScanListOkAction::SaveAndRestart);

    const NodeConnection https{true, 5986, SignInMethod::Automatic, ""};
    NodeConnections saved;
    ASSERT_TRUE(readNodeConnections(rig.dir.path().toStdString(), saved));
    EXPECT_EQ(saved, (NodeConnections{{"SRV-TLS", https}}));
    EXPECT_EQ(rig.published, (std::map<std::string, NodeConnection>{{"10.0.0.7", https}, {"SRV-TLS", https}}));

    // The same scan again adds nothing: OK then only hides the dialog.
    ASSERT_TRUE(rig.address.ScanAddresses("10.0.0.10"));
    EXPECT_EQ(rig.table.count(), 3u);
    EXPECT_FALSE(rig.flags.NewNodesFound);
    EXPECT_EQ(scanListOk(rig.flags), ScanListOkAction::Hide);
}

TEST(AddressCommands, ABadRangeIsRefusedWithItsReasonAndNothingIsScanned)
{
    Rig rig;
    rig.views.range = "10.0.0.0/8";
    ASSERT_TRUE(rig.address.ScanAddresses(""));
    EXPECT_EQ(rig.scans, 0);
    ASSERT_EQ(rig.boxes.boxes().size(), 1u);
    EXPECT_EQ(rig.boxes.boxes()[0].text.rfind(RangeRefusedPrefix, 0), 0u);
    EXPECT_NE(rig.boxes.boxes()[0].text.find("65536"), std::string::npos);

    rig.views.range.reset(); // cancelled
    ASSERT_TRUE(rig.address.ScanAddresses(""));
    EXPECT_EQ(rig.scans, 0);
    EXPECT_EQ(rig.dialog.shown, 0);
}

TEST(AddressCommands, RefusedWhileAnotherCommandRuns)
{
    Rig rig;
    rig.views.range = "10.0.0.0/24";
    const CommandGate::Pass held = rig.gate.enter();
    EXPECT_FALSE(rig.address.ScanAddresses(""));
    EXPECT_FALSE(rig.address.AddNode());
    EXPECT_FALSE(rig.address.NodeConnection(1));
    EXPECT_EQ(rig.scans, 0);
    EXPECT_EQ(rig.dialog.statuses.back(), CommandGate::busyText);
}

TEST(AddressCommands, AddNodeJoinsOrRefusesWithTheReason)
{
    Rig rig;
    rig.views.newNode = NewNodeInput{"SRV-DNS", ""};
    ASSERT_TRUE(rig.address.AddNode());
    EXPECT_EQ(rig.names(), (std::vector<std::string>{"SRV-DNS"}));
    EXPECT_EQ(rig.addresses(), (std::vector<std::string>{"10.0.0.40"}));
    EXPECT_TRUE(rig.flags.NewNodesFound);
    EXPECT_EQ(rig.rebuilds, 1);
    EXPECT_EQ(rig.dialog.statuses.back(), "Node added: SRV-DNS (10.0.0.40)");

    rig.views.newNode = NewNodeInput{"SRV-DNS", "10.0.0.41"};
    ASSERT_TRUE(rig.address.AddNode());
    rig.views.newNode = NewNodeInput{"../etc", "10.0.0.42"};
    ASSERT_TRUE(rig.address.AddNode());
    EXPECT_EQ(rig.table.count(), 1u);
    const auto boxes = rig.boxes.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, std::string(NodeRefusedPrefix) + "A node named SRV-DNS is already in the node list.");
    EXPECT_NE(boxes[1].text.find("cannot be used"), std::string::npos);
}

TEST(AddressCommands, NodeConnectionIsKeptForThatNodeAndHandedOn)
{
    Rig rig;
    NodeRecord node = discoveredNode("SRV-B");
    node.IP = "10.0.0.9";
    rig.table.append(node);
    rig.address.loadConnections();
    EXPECT_TRUE(rig.published.empty());

    const NodeConnection own{true, 5990, SignInMethod::Basic, ""};
    rig.views.choice = ConnectionChoice{own};
    ASSERT_TRUE(rig.address.NodeConnection(1));
    EXPECT_EQ(rig.views.askedFor, "SRV-B");
    EXPECT_FALSE(rig.views.shownConnection);
    NodeConnections saved;
    ASSERT_TRUE(readNodeConnections(rig.dir.path().toStdString(), saved));
    EXPECT_EQ(saved, (NodeConnections{{"SRV-B", own}}));
    EXPECT_EQ(rig.published.at("10.0.0.9"), own);

    rig.views.choice = ConnectionChoice{std::nullopt}; // back to the program's settings
    ASSERT_TRUE(rig.address.NodeConnection(1));
    EXPECT_EQ(rig.views.shownConnection, own);
    ASSERT_TRUE(readNodeConnections(rig.dir.path().toStdString(), saved));
    EXPECT_TRUE(saved.empty());
    EXPECT_TRUE(rig.published.empty());

    ASSERT_TRUE(rig.address.NodeConnection(0)); // no node chosen
    EXPECT_EQ(rig.boxes.boxes().back().text, NoNodeChosenText);
}

TEST(AddressCommands, AConnectionsFileThatCannotBeReadIsNeverSavedOver)
{
    Rig rig;
    rig.table.append(discoveredNode("SRV-B"));
    const std::string damaged = "SRV-B\r\nhttps\r\nnot a port\r\nbasic\r\n\r\n";
    std::ofstream(rig.file()) << damaged;
    rig.address.loadConnections();
    EXPECT_NE(rig.dialog.statuses.back().find("kept as it is"), std::string::npos);

    rig.views.choice = ConnectionChoice{NodeConnection{}};
    ASSERT_TRUE(rig.address.NodeConnection(1));
    EXPECT_NE(rig.boxes.boxes().back().text.find("were not saved"), std::string::npos);
    std::string text;
    std::ifstream in(rig.file(), std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(text, damaged);
    EXPECT_TRUE(rig.address.connections().empty()); // the change was taken back
}

} // namespace
} // namespace vorlu
