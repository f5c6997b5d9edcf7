// Computers found by an address scan and nodes added by hand join the node
// table as new names of a Re-Scan do.
#include "addresses/JoinFound.h"

#include "addresses/FoundComputers.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

NodeTable twoNodes()
{
    NodeTable table;
    NodeRecord a = discoveredNode("PC-A");
    a.IP = "10.0.0.5";
    a.Login = "admin";
    table.append(a);
    table.append(discoveredNode("PC-B"));
    return table;
}

TEST(JoinFound, AppendsNewComputersOnceWithTheirOwnConnection)
{
    NodeTable table = twoNodes();
    NodeConnections connections;
    const std::vector<FoundComputer> found = {
        test::foundComputer("10.0.0.5", "ELSEWHERE", {5985}),  // address already listed
        test::foundComputer("10.0.0.6", "PC-B", {5985}),       // name already listed
        test::foundComputer("10.0.0.7", "SRV-TLS", {5986}),    // only HTTPS answered
        test::foundComputer("10.0.0.8", "SRV-PLAIN", {5985, 5986}),
        test::foundComputer("10.0.0.9", "pc-b", {5985}),       // names compare exactly
        test::foundComputer("10.0.0.10", "SRV-TLS", {5985}),   // the same name twice in one scan
    };
    const JoinResult result = joinFoundComputers(table, found, connections, RemoteTransport{});
    EXPECT_EQ(result.added, (std::vector<std::size_t>{3, 4, 5}));
    ASSERT_EQ(table.count(), 5u);
    EXPECT_EQ(table.at(1).Login, "admin"); // existing records untouched
    const NodeRecord& tls = table.at(3);
    EXPECT_EQ(tls.Name, "SRV-TLS");
    EXPECT_EQ(tls.Node, "SRV-TLS");
    EXPECT_EQ(tls.IP, "10.0.0.7");
    EXPECT_EQ(tls.Enabled, "True");
    EXPECT_EQ(tls.Scanned, "False");
    EXPECT_EQ(table.at(5).Name, "pc-b");
    EXPECT_EQ(connections, (NodeConnections{{"SRV-TLS", {true, 5986, SignInMethod::Automatic, ""}}}));
    ASSERT_EQ(result.notes.size(), 3u);
    EXPECT_EQ(result.notes[0], "10.0.0.5 is already in the node list as PC-A");
    EXPECT_EQ(result.notes[1], "10.0.0.6: a node named PC-B is already in the node list");
}

TEST(JoinFound, ConnectionOnlyWhereTheProgramsPortDidNotAnswer)
{
    RemoteTransport https;
    https.https = true;
    https.port = 5986;
    EXPECT_EQ(connectionFromScan(test::foundComputer("10.0.0.1", "A", {5985}), https),
              (NodeConnection{false, 5985, SignInMethod::Automatic, ""}));
    EXPECT_FALSE(connectionFromScan(test::foundComputer("10.0.0.1", "A", {5986}), https));
    EXPECT_FALSE(connectionFromScan(test::foundComputer("10.0.0.1", "A", {5985, 5986}), RemoteTransport{}));
}

TEST(AddNode, AcceptsANameAnAddressOrBoth)
{
    const NodeTable table = twoNodes();
    auto resolve = [](const std::string& name) { return name == "SRV-DNS" ? std::string("10.0.0.40") : ""; };
    std::string refusal;
    auto both = nodeByHand(table, " SRV-NEW ", " 10.0.0.30 ", resolve, refusal);
    ASSERT_TRUE(both) << refusal;
    EXPECT_EQ(both->Name, "SRV-NEW");
    EXPECT_EQ(both->IP, "10.0.0.30");
    auto byName = nodeByHand(table, "SRV-DNS", "", resolve, refusal);
    ASSERT_TRUE(byName) << refusal;
    EXPECT_EQ(byName->IP, "10.0.0.40");
    auto byAddress = nodeByHand(table, "", "10.0.0.31", resolve, refusal);
    ASSERT_TRUE(byAddress) << refusal;
    EXPECT_EQ(byAddress->Name, "10.0.0.31");
    EXPECT_EQ(byAddress->Node, "10.0.0.31");
}

TEST(AddNode, RefusesWithTheReason)
{
    const NodeTable table = twoNodes();
    auto resolve = [](const std::string&) { return std::string(); };
    const struct {
        const char* name;
        const char* address;
        const char* reasonHolds;
    } cases[] = {
        {"", "", "name, its address or both"},
        {"..", "10.0.0.30", "cannot be used"},
        {"a/b", "10.0.0.30", "path separator"},
        {"C:", "10.0.0.30", "character :"},
        {"PC-A", "10.0.0.30", "already in the node list"},
        {"PC-NEW", "10.0.0.5", "already belongs to the node PC-A"},
        {"PC-NEW", "10.0.0", "not a usable IPv4 address"},
        {"PC-NEW", "10.0.0.0/24", "not a usable IPv4 address"},
        {"PC-NEW", "224.0.0.1", "multicast"},
        {"PC-UNKNOWN", "", "cannot be resolved"},
    };
    for (const auto& c : cases) {
        std::string refusal;
        EXPECT_FALSE(nodeByHand(table, c.name, c.address, resolve, refusal)) << c.name << " " << c.address;
        EXPECT_NE(refusal.find(c.reasonHolds), std::string::npos) << c.name << " " << c.address << ": " << refusal;
    }
}

} // namespace
} // namespace vorlu
