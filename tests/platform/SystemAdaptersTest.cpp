#include "support/ScriptedMessageBoxes.h"
#include "platform/SystemLocalAddress.h"
#include "platform/SystemSocketLayer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

using namespace vorlu;

TEST(SystemSocketLayer, StartsAsVersionOneOne)
{
    SystemSocketLayer sockets;
    const SocketStartup s = sockets.startup(0x0101);
    EXPECT_EQ(s.error, 0);
    EXPECT_EQ(s.version, 0x0101);
    EXPECT_EQ(s.maxSockets, 32767);
}

TEST(SystemSocketLayer, ResolvesToFourBytesInAddressOrder)
{
    SystemSocketLayer sockets;
    EXPECT_EQ(sockets.resolve("10.0.0.7"), (std::vector<std::uint8_t>{10, 0, 0, 7}));
    EXPECT_EQ(sockets.resolve("localhost"), (std::vector<std::uint8_t>{127, 0, 0, 1}));
    EXPECT_FALSE(sockets.resolve("").has_value());
}

TEST(SystemLocalAddress, IsADottedIpv4Address)
{
    const std::string address = SystemLocalAddress().localAddress();
    in_addr parsed{};
    EXPECT_EQ(inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
}

TEST(ScriptedMessageBoxes, RecordsBoxesAndBeepsInOrder)
{
    ScriptedMessageBoxes boxes;
    int seenByHandler = 0;
    boxes.onShow([&](const ScriptedMessageBoxes::Box& b) {
        ++seenByHandler;
        EXPECT_EQ(boxes.boxes().back().text, b.text);
    });
    boxes.show("first", "", MessageIcon::None);
    boxes.beep();
    boxes.show("second", "Network error", MessageIcon::Error);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].beepsBefore, 0);
    EXPECT_EQ(shown[1].text, "second");
    EXPECT_EQ(shown[1].title, "Network error");
    EXPECT_EQ(shown[1].icon, MessageIcon::Error);
    EXPECT_EQ(shown[1].beepsBefore, 1);
    EXPECT_EQ(boxes.beeps(), 1);
    EXPECT_EQ(boxes.log(), (std::vector<std::string>{"box:first", "beep", "box:second"}));
    EXPECT_EQ(seenByHandler, 2);
    boxes.clear();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(boxes.beeps(), 0);
}
