#include "fleet/HeadlessCheck.h"
#include "nodes/AtomicFile.h"
#include "support/FleetTestNetwork.h"
#include "support/PrintTransport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

FleetRow row(FleetState state, const std::string& status = "OK") { return test::pc1Drive(state, status); }

TEST(HeadlessCheck, ExitCodeTable)
{
    using S = FleetState;
    const struct {
        std::vector<FleetState> states;
        CheckStatus expected;
    } cases[] = {
        {{}, CheckOk},
        {{S::Green, S::Green}, CheckOk},
        {{S::Green, S::NoDrive}, CheckOk},
        {{S::Green, S::Amber}, CheckWarning},
        {{S::Unknown}, CheckWarning},
        {{S::Amber, S::Red}, CheckCritical},
        {{S::Green, S::NotReached}, CheckCritical},
    };
    for (const auto& c : cases) {
        std::vector<FleetRow> rows;
        for (FleetState s : c.states)
            rows.push_back(row(s));
        EXPECT_EQ(checkStatusOf(rows), c.expected) << rows.size();
    }
}

TEST(HeadlessCheck, OneSummaryLineThenOneLinePerDriveNeedingAttention)
{
    FleetRow red = row(FleetState::Red, "Error");
    red.name = "evil\nOPTICAL OK - fake | x=1";
    const std::vector<FleetRow> rows{row(FleetState::Green), red, row(FleetState::Amber, "Unknown")};
    const std::string out = formatCheckOutput(rows, checkStatusOf(rows));
    EXPECT_EQ(out.rfind("OPTICAL CRITICAL - 1 green, 1 amber, 1 red, 0 nodes not reached | ", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
    EXPECT_NE(out.find("\nRED PC1 (10.0.0.1) D: evil OPTICAL OK - fake   x=1: Error\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\nAMBER PC1"), std::string::npos);
}

TEST(HeadlessCheck, ConnectsTheWayTheFoldersSettingsSay)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    EXPECT_EQ(checkTransport(folder), RemoteTransport{}) << "no settings file";
    ASSERT_TRUE(writeFileAtomically(folder / "vrsopt.ini",
                                    "admin\r\npw\r\n-10\r\n0\r\n0\r\n0\r\n\r\n1\r\nroot\\cimv2\r\nTrue\r\n"
                                    "https\r\n\r\n1\r\n0\r\nca/office.pem\r\n2000\r\n60000\r\n"));
    const RemoteTransport t = checkTransport(folder);
    EXPECT_TRUE(t.https);
    EXPECT_EQ(t.port, 5986) << "an empty port line keeps the scheme's default";
    EXPECT_EQ(t.caFile, "ca/office.pem");
    EXPECT_EQ(t.connectTimeoutMs, 2000);
    EXPECT_EQ(t.queryTimeoutMs, 60000);
}

} // namespace
} // namespace vorlu
