// Connection attempts over a range on loopback: open ports found whatever
// the window of attempts, closed ones left out.
#include "remote/PortProbe.h"

#include "support/LoopbackListener.h"

#include <gtest/gtest.h>

#include <map>

namespace vorlu {
namespace {

constexpr std::uint32_t loopback(std::uint8_t last) { return 0x7F000000u | last; }

TEST(PortProbe, ReportsEachAddressWithItsOpenPortsWhateverTheWindow)
{
    test::LoopbackListener first("127.0.0.5", 0);
    ASSERT_NE(first.port, 0);
    test::LoopbackListener second("127.0.0.9", 0);
    ASSERT_NE(second.port, 0);
    test::LoopbackListener both("127.0.0.12", first.port);
    test::LoopbackListener bothToo("127.0.0.12", second.port);
    ASSERT_NE(both.port, 0);
    ASSERT_NE(bothToo.port, 0);

    for (const int window : {1, 3, 512}) {
        PortProbeOptions options;
        options.ports = {first.port, second.port};
        options.inFlight = window;
        std::map<std::uint32_t, std::vector<std::uint16_t>> open;
        probePorts(loopback(1), 40, options, [&](std::uint32_t address, const std::vector<std::uint16_t>& ports) {
            EXPECT_TRUE(open.emplace(address, ports).second) << "reported twice";
        });
        const std::map<std::uint32_t, std::vector<std::uint16_t>> expected{
            {loopback(5), {first.port}},
            {loopback(9), {second.port}},
            {loopback(12), {first.port, second.port}},
        };
        EXPECT_EQ(open, expected) << "window " << window;
    }
}

TEST(PortProbe, CancelledStopsBeforeTheEnd)
{
    PortProbeOptions options;
    options.ports = {1};
    std::atomic<bool> cancel{true};
    int reported = 0;
    probePorts(loopback(1), 1000, options, [&](std::uint32_t, const std::vector<std::uint16_t>&) { ++reported; },
               &cancel);
    EXPECT_EQ(reported, 0);
}

} // namespace
} // namespace vorlu
