// Cancel of a run over WS-Management while every node keeps its calls waiting:
// the calls end with their connections, and the nodes keep what they had.
#include "fleet/DiagnoseAll.h"
#include "inventory/InventoryTexts.h"
#include "remote/WsManManagement.h"
#include "support/WsManTestServer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vorlu {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
}

TEST(DiagnoseAllOverWsMan, CancelEndsTheWaitsForASlowNodeAndKeepsEarlierFiles)
{
    WsManTestServer server({R"({"classes": {"Win32_CDROMDrive": [], "Win32_ComputerSystem": [{"Name": "PC"}]},
                               "behaviour": "slow:30000"})",
                            "basic", false, true});
    ASSERT_TRUE(server.started()) << server.error();
    WsManManagement management([port = server.port()] {
        RemoteTransport transport;
        transport.port = port;
        transport.allowClearTextBasic = true;
        return transport;
    });
    QTemporaryDir dir;
    const DiagnosisSettings settings{dir.path().toStdString(), std::string(WsManTestServer::Domain) + "\\" +
                                                                   WsManTestServer::User,
                                     WsManTestServer::Password, "root\\cimv2"};
    constexpr std::size_t Nodes = 3;
    NodeTable table;
    for (std::size_t i = 1; i <= Nodes; ++i) {
        NodeRecord node;
        node.Name = "PC" + std::to_string(i);
        node.IP = "127.0.0.1";
        node.Scanned = "Scanned";
        table.append(node);
        fs::create_directories(fs::path(settings.programFolder) / node.Name);
        std::ofstream(fs::path(settings.programFolder) / node.Name / ReportFileName) << "earlier " << i;
    }
    std::atomic<bool> cancel{false};
    QElapsedTimer clock;
    clock.start();
    qint64 cancelledAt = -1;
    QTimer::singleShot(500, [&] {
        cancelledAt = clock.elapsed();
        cancel = true;
    });
    const FleetRun run = diagnoseAll(table, management, settings, Nodes, cancel);

    ASSERT_GE(cancelledAt, 0);
    EXPECT_LT(clock.elapsed() - cancelledAt, 2000);
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(run.cancelledNodes, Nodes);
    for (std::size_t n = 1; n <= Nodes; ++n) {
        EXPECT_FALSE(run.outcomes[n - 1].has_value());
        EXPECT_EQ(table.at(n).Scanned, "Scanned");
        const fs::path folder = fs::path(settings.programFolder) / table.at(n).Name;
        EXPECT_EQ(contentOf(folder / ReportFileName), "earlier " + std::to_string(n));
        EXPECT_FALSE(fs::exists(folder / DiagnosticsFileName));
    }
}

} // namespace
} // namespace vorlu
