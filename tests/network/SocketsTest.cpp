#include "network/Sockets.h"
#include "network/NetworkFakes.h"
#include "support/CountingPace.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using test::FakeSockets;
using test::RecordingDialog;

TEST(ByteHelpers, SplitTheVersionWord)
{
    struct Case {
        std::uint16_t word;
        int lo, hi;
    };
    for (const Case c : {Case{257, 1, 1}, Case{0x0001, 1, 0}, Case{0x0202, 2, 2}, Case{0x8000, 0, 128},
                         Case{0xFF00, 0, 255}, Case{0xFF01, 1, 255}, Case{0xFFFF, 255, 255}}) {
        EXPECT_EQ(LoByte(c.word), c.lo) << c.word;
        EXPECT_EQ(HiByte(c.word), c.hi) << c.word;
    }
}

struct StartupCase {
    const char* label;
    SocketStartup answer;
    std::vector<std::string> texts; // boxes shown, all plain
};

class StartSocketsCases : public testing::TestWithParam<StartupCase> {};

TEST_P(StartSocketsCases, ShowsTheExpectedPlainBoxes)
{
    FakeSockets sockets;
    sockets.startupAnswer = GetParam().answer;
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    StartSockets(sockets, boxes, pace);

    EXPECT_EQ(sockets.lastRequested, 257);
    std::vector<ScriptedMessageBoxes::Box> expected;
    for (const auto& t : GetParam().texts)
        expected.push_back({t, "", MessageIcon::None});
    EXPECT_EQ(boxes.boxes(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, StartSocketsCases,
    testing::Values(StartupCase{"ok11", {0, 0x0101, 32767}, {}},
                    StartupCase{"ok22", {0, 0x0202, 1}, {}},
                    StartupCase{"notResponding", {10091, 0x0101, 32767}, {"Winsock.dll is not responding."}},
                    // 1.0: low byte 1, high byte 0; the text ends with a blank.
                    StartupCase{"version10",
                                {0, 0x0001, 32767},
                                {"Windows Sockets version 1.0 is not supported by winsock.dll "}},
                    StartupCase{"version02",
                                {0, 0x0200, 32767},
                                {"Windows Sockets version 0.2 is not supported by winsock.dll "}},
                    StartupCase{"noSockets",
                                {0, 0x0101, 0},
                                {"This application requires a minimum of 1 supported sockets."}},
                    // An unsuitable version is the only complaint even with no sockets.
                    StartupCase{"versionBeatsSockets",
                                {0, 0x0001, 0},
                                {"Windows Sockets version 1.0 is not supported by winsock.dll "}}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST(DottedAddress, WritesEachByteInDecimalWithoutTrailingDot)
{
    EXPECT_EQ(DottedAddress({10, 0, 0, 7}), "10.0.0.7");
    EXPECT_EQ(DottedAddress({255, 255, 255, 0}), "255.255.255.0");
    EXPECT_EQ(DottedAddress({}), "");
}

TEST(ResolveAddress, KnownUnknownAndBrokenAnswers)
{
    FakeSockets sockets;
    sockets.hosts["PC-7"] = {10, 0, 0, 7};
    sockets.hosts["EMPTY"] = {};
    RecordingDialog dialog;
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    EXPECT_EQ(ResolveAddress("PC-7", sockets, dialog, boxes, pace), "10.0.0.7");
    EXPECT_TRUE(dialog.statuses.empty());
    EXPECT_TRUE(boxes.boxes().empty());

    // Unknown: the status line says so, no box.
    EXPECT_EQ(ResolveAddress("NOBODY", sockets, dialog, boxes, pace), "");
    EXPECT_EQ(dialog.statuses, (std::vector<std::string>{"Can't resolve name."}));
    EXPECT_TRUE(boxes.boxes().empty());

    // An entry without address bytes is a failure of another kind: a box.
    dialog.statuses.clear();
    EXPECT_EQ(ResolveAddress("EMPTY", sockets, dialog, boxes, pace), "");
    EXPECT_TRUE(dialog.statuses.empty());
    EXPECT_EQ(boxes.boxes(),
              (std::vector<ScriptedMessageBoxes::Box>{{"Can't resolve name.", "Message from VORLU OPTICAL", MessageIcon::Question}}));
}

TEST(StartSocketsFailure, ExceptionShowsNodeListBox)
{
    struct Broken : FakeSockets {
        SocketStartup startup(std::uint16_t) override { throw std::runtime_error("no layer"); }
    } sockets;
    ScriptedMessageBoxes boxes;
    test::CountingPace pace;

    StartSockets(sockets, boxes, pace);

    EXPECT_EQ(boxes.boxes(), (std::vector<ScriptedMessageBoxes::Box>{{"Unable to retrieve network node list!",
                                                   "Message from VORLU OPTICAL", MessageIcon::Question}}));
}

} // namespace
} // namespace vorlu
