#include "network/NetworkErrors.h"
#include "network/ServerList.h"
#include "network/NetworkFakes.h"
#include "support/CountingPace.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using test::FakeEnumerator;

struct ErrorCase {
    std::uint32_t code;
    const char* text;
};

class PlatformErrorCodes : public testing::TestWithParam<ErrorCase> {};

// Each platform error beeps first, then shows its own text as a network error,
// and the enumeration reports failure with the code.
TEST_P(PlatformErrorCodes, BeepThenErrorBoxAndNoNames)
{
    FakeEnumerator enumerator;
    enumerator.answer = {GetParam().code, {"IGNORED"}};
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    const ServerList list = EnumerateServers(enumerator, boxes, pace);

    EXPECT_FALSE(list.success);
    EXPECT_EQ(list.errorCode, GetParam().code);
    EXPECT_TRUE(list.names.empty());
    EXPECT_EQ(boxes.log(), (std::vector<std::string>{"beep", std::string("box:") + GetParam().text}));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Network error");
    EXPECT_EQ(boxes.boxes()[0].icon, MessageIcon::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PlatformErrorCodes,
    testing::Values(ErrorCase{5, "Access Denied! (please check your network connections)"},
                    ErrorCase{1326, " (please check your network connections)"},
                    ErrorCase{1722, "Node not accessible! (please check your network connections)"},
                    ErrorCase{53, "Please check your network connections"},
                    ErrorCase{0xFFFFFFFFu, "Please check your network connections"}));

TEST(EnumerateServers, ListsNamesInPlatformOrderWithOneCall)
{
    FakeEnumerator enumerator;
    enumerator.answer = {0, {"B", "A", "B"}};
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    const ServerList list = EnumerateServers(enumerator, boxes, pace);

    EXPECT_TRUE(list.success);
    EXPECT_EQ(list.errorCode, 0u);
    EXPECT_EQ(list.names, (std::vector<std::string>{"B", "A", "B"}));
    EXPECT_EQ(enumerator.calls, 1);
    EXPECT_EQ(enumerator.lastMask, 0xFFFFFFFFu);
    EXPECT_TRUE(boxes.log().empty());
}

// "More data" must not make the enumeration call again and again: the
// platform would answer the same first entries forever.
TEST(EnumerateServers, MoreDataIsTakenAsTheWholeList)
{
    FakeEnumerator enumerator;
    enumerator.answer = {234, {"PC-1", "PC-2"}};
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    const ServerList list = EnumerateServers(enumerator, boxes, pace);

    EXPECT_TRUE(list.success);
    EXPECT_EQ(list.names.size(), 2u);
    EXPECT_EQ(enumerator.calls, 1);
}

TEST(EnumerateServers, EmptyNetworkFailsWithoutMessage)
{
    FakeEnumerator enumerator;
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    const ServerList list = EnumerateServers(enumerator, boxes, pace);

    EXPECT_FALSE(list.success);
    EXPECT_EQ(list.errorCode, 0u);
    EXPECT_TRUE(boxes.log().empty());
}

TEST(EnumerateServers, OtherFailureYieldsThenAsksWithQuestionBox)
{
    FakeEnumerator enumerator;
    enumerator.fail = true;
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;
    pace.onYield = [&] { EXPECT_TRUE(boxes.boxes().empty()) << "the yield comes before the box"; };

    const ServerList list = EnumerateServers(enumerator, boxes, pace);

    EXPECT_FALSE(list.success);
    EXPECT_EQ(pace.yields, 1);
    EXPECT_EQ(boxes.boxes(),
              (std::vector<ScriptedMessageBoxes::Box>{
                  {"Unable to retrieve network node list!", "Message from VORLU OPTICAL", MessageIcon::Question}}));
}

// Counts are plain integers: a network of more than 32767 servers is listed whole.
TEST(EnumerateServers, MoreThan32767NamesAreKept)
{
    FakeEnumerator enumerator;
    for (int i = 0; i < 40000; ++i)
        enumerator.answer.names.push_back("PC-" + std::to_string(i));
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    const ServerList list = EnumerateServers(enumerator, boxes, pace);

    EXPECT_TRUE(list.success);
    EXPECT_EQ(list.names.size(), 40000u);
    EXPECT_TRUE(boxes.log().empty());
}

} // namespace
} // namespace vorlu
