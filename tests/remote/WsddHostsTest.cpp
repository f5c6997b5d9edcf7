#include "remote/WsDiscoveryEnumerator.h"

#include "platform/SystemSocketLayer.h"
#include "remote/AnnouncingSocketLayer.h"
#include "support/WsddNetwork.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace vorlu {
namespace {

using test::WsddNetwork;

// Debian's wsdd announces a Linux machine the way Windows announces itself:
// the matches carry no transport address, so each host is resolved first,
// and its metadata names it as "NAME/Workgroup:WORKGROUP". Like a workgroup,
// the segment has no name service: the resolver learns the hosts' addresses
// from the scan alone.
TEST(WsddHosts, TheScanFindsEveryHostOfTheSegmentOnceAndWhereItIs)
{
    const std::string unavailable = WsddNetwork::unavailableReason();
    if (!unavailable.empty())
        GTEST_SKIP() << "skipped: " << unavailable;
    std::unique_ptr<WsddNetwork> net;
    try {
        net = std::make_unique<WsddNetwork>(std::vector<std::string>{"ALPHA", "BRAVO", "CHARLIE"});
    } catch (const std::runtime_error& e) {
        FAIL() << e.what();
    }

    EnumerationAnswer answer;
    qint64 elapsed = 0;
    std::string error;
    auto announced = std::make_shared<AnnouncedAddresses>();
    std::optional<std::vector<std::uint8_t>> bySystem, byLayer, unknown;
    // The defaults throughout: the scan chooses the bridge of the client
    // namespace by itself.
    ASSERT_TRUE(net->runInClient(
        [&] {
            QElapsedTimer clock;
            clock.start();
            answer = WsDiscoveryEnumerator({}, announced).enumerateServers(ServerEnumerator::kAllServerTypes);
            elapsed = clock.elapsed();
            bySystem = SystemSocketLayer().resolve("bravo");
            AnnouncingSocketLayer layer(std::make_unique<SystemSocketLayer>(), announced);
            byLayer = layer.resolve("bravo");
            unknown = layer.resolve("delta");
        },
        &error))
        << error;

    EXPECT_EQ(answer.code, 0u);
    std::vector<std::string> names = answer.names;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ALPHA", "BRAVO", "CHARLIE"}));
    EXPECT_LT(elapsed, 5000 + 2000);
    // The hosts are 10.77.0.10 onwards, in the order of their names.
    EXPECT_EQ(announced->find("ALPHA"), (Ipv4Bytes{10, 77, 0, 10}));
    EXPECT_EQ(announced->find("CHARLIE"), (Ipv4Bytes{10, 77, 0, 12}));
    EXPECT_EQ(bySystem, std::nullopt);
    EXPECT_EQ(byLayer, (std::vector<std::uint8_t>{10, 77, 0, 11}));
    EXPECT_EQ(unknown, std::nullopt);
}

TEST(WsddHosts, AnEmptySegmentEndsEmpty)
{
    const std::string unavailable = WsddNetwork::unavailableReason();
    if (!unavailable.empty())
        GTEST_SKIP() << "skipped: " << unavailable;
    WsddNetwork net({});
    WsDiscoveryOptions o;
    o.interfaces = {WsddNetwork::ClientInterface};
    EnumerationAnswer answer{99, {"unset"}};
    std::string error;
    ASSERT_TRUE(net.runInClient([&] { answer = WsDiscoveryEnumerator(o).enumerateServers(0); }, &error)) << error;
    EXPECT_EQ(answer.code, 0u);
    EXPECT_TRUE(answer.names.empty());
}

} // namespace
} // namespace vorlu
