// Address ranges as the user types them: what is scanned, and every way a
// range is refused with its reason.
#include "addresses/AddressRange.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

struct Accepted {
    const char* text;
    const char* first;
    std::uint32_t count;
};

TEST(AddressRange, AcceptsBlocksAndFirstLastRanges)
{
    const Accepted cases[] = {
        {"192.168.1.0/24", "192.168.1.1", 254},       // network and broadcast left out
        {" 192.168.1.77/24 ", "192.168.1.1", 254},    // any address of the block, blanks around
        {"10.0.0.0/16", "10.0.0.1", 65534},
        {"10.0.0.4/30", "10.0.0.5", 2},
        {"10.0.0.4/31", "10.0.0.4", 2},               // point-to-point: both are computers
        {"10.0.0.9/32", "10.0.0.9", 1},
        {"192.168.1.10-192.168.1.99", "192.168.1.10", 90},
        {"192.168.1.10 - 192.168.1.10", "192.168.1.10", 1},
        {"10.0.0.0-10.0.255.255", "10.0.0.0", 65536}, // exactly the limit
        {"127.0.0.1", "127.0.0.1", 1},
    };
    for (const Accepted& c : cases) {
        std::string reason;
        const auto range = parseAddressRange(c.text, reason);
        ASSERT_TRUE(range) << c.text << ": " << reason;
        EXPECT_EQ(formatIPv4(range->first), c.first) << c.text;
        EXPECT_EQ(range->count, c.count) << c.text;
    }
}

struct Refused {
    const char* text;
    const char* reasonHolds;
};

TEST(AddressRange, RefusesWithTheReason)
{
    const Refused cases[] = {
        {"", "no range given"},
        {"10.0.0.0/15", "at most 65536"},
        {"10.0.0.0-10.1.0.0", "65537 addresses"},
        {"10.0.0.9-10.0.0.1", "runs backwards"},
        {"10.0.0.256/24", "not an IPv4 address"},
        {"10.0.0.010-10.0.0.20", "neither a block"}, // octal to other tools
        {"10.0.0/24", "not an IPv4 address"},
        {"10.0.0.0/33", "prefix length"},
        {"10.0.0.0/", "prefix length"},
        {"10.0.0.0/2x", "prefix length"},
        {"224.0.0.0/24", "multicast"},
        {"255.255.255.255", "multicast or reserved"},
        {"0.0.0.0/24", "this network"},
        {"pc-accounts", "neither a block"},
        {"10.0.0.1-", "not an IPv4 address"},
        {"10.0.0.1--10.0.0.2", "not an IPv4 address"},
    };
    for (const Refused& c : cases) {
        std::string reason;
        EXPECT_FALSE(parseAddressRange(c.text, reason)) << c.text;
        EXPECT_NE(reason.find(c.reasonHolds), std::string::npos) << c.text << " gave: " << reason;
    }
}

TEST(AddressRange, DefaultIsTheSlash24OfThisComputer)
{
    EXPECT_EQ(defaultRangeText("192.168.7.42"), "192.168.7.0/24");
    EXPECT_EQ(defaultRangeText("127.0.0.1"), "");
    EXPECT_EQ(defaultRangeText(""), "");
    EXPECT_EQ(defaultRangeText("not an address"), "");
}

} // namespace
} // namespace vorlu
