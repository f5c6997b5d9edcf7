#include "remote/WsDiscoveryEnumerator.h"

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
// and its metadata names it as "NAME/Workgroup:WORKGROUP".
TEST(WsddHosts, TheScanFindsEveryHostOfTheSegmentOnce)
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
    // The defaults throughout: the scan chooses the bridge of the client
    // namespace by itself.
    ASSERT_TRUE(net->runInClient(
        [&] {
            QElapsedTimer clock;
            clock.start();
            answer = WsDiscoveryEnumerator().enumerateServers(ServerEnumerator::kAllServerTypes);
            elapsed = clock.elapsed();
        },
        &error))
        << error;

    EXPECT_EQ(answer.code, 0u);
    std::vector<std::string> names = answer.names;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ALPHA", "BRAVO", "CHARLIE"}));
    EXPECT_LT(elapsed, 5000 + 2000);
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
