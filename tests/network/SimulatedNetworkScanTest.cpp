#include "network/NetworkRig.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using Names = std::vector<std::string>;

// Network Scan end to end over the simulated network adapters, as --network runs it.
TEST(SimulatedNetworkScan, NetworkScanListsAndResolvesTheFileComputers)
{
    const std::string json = R"({
      "localAddress": "192.168.1.10",
      "computers": [
        { "name": "WS-ADMIN", "address": "192.168.1.10" },
        { "name": "GHOST" },
        { "name": "HIDDEN", "address": "192.168.1.99", "listed": false },
        { "name": "PC-7", "address": "10.0.0.7", "latencyMs": 30 }
      ]
    })";
    std::string error;
    const auto network = SimulatedNetwork::parse(json, "network.json", error);
    ASSERT_TRUE(network) << error;
    SimulatedEnumerator enumerator(network);
    SimulatedSocketLayer sockets(network);

    test::NetworkRig rig;
    NetworkDiscovery discovery(rig.context(), rig.pace, enumerator, sockets, rig.tree);
    NetworkScanCommands commands(rig.context(), rig.pace, discovery, rig.menu, rig.gate, {});

    ASSERT_TRUE(commands.NetworkScan());

    EXPECT_EQ(rig.names(), (Names{"WS-ADMIN", "GHOST", "PC-7"}));
    EXPECT_EQ(rig.addresses(), (Names{"192.168.1.10", "", "10.0.0.7"}));
    EXPECT_EQ(rig.dialog.column(0, 1, 3), (Names{"WS-ADMIN", "GHOST", "PC-7"}));
    EXPECT_EQ(rig.dialog.column(2, 1, 3), (Names{"192.168.1.10", "", "10.0.0.7"}));
    EXPECT_TRUE(rig.boxes.boxes().empty());
    EXPECT_TRUE(rig.flags.NetworkListBuilt);
}

TEST(SimulatedNetworkScan, EnumerationErrorFromTheFileIsShown)
{
    std::string error;
    const auto network = SimulatedNetwork::parse(R"({ "enumeration": { "error": 1722 },
        "computers": [ { "name": "PC-1", "address": "10.0.0.1" } ] })",
                                                 "network.json", error);
    ASSERT_TRUE(network) << error;
    SimulatedEnumerator enumerator(network);
    SimulatedSocketLayer sockets(network);
    test::NetworkRig rig;
    NetworkDiscovery discovery(rig.context(), rig.pace, enumerator, sockets, rig.tree);

    discovery.ScanNetwork();

    EXPECT_TRUE(rig.table.empty());
    EXPECT_EQ(rig.boxes.log(),
              (Names{"beep", "box:Node not accessible! (please check your network connections)"}));
}

} // namespace
} // namespace vorlu
