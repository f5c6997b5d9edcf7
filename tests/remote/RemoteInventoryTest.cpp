// The drive inventory and diagnostics of a node over WS-Management, through
// the program's own commands on a worker thread: the files they write match
// those of the same drives on a simulated network byte for byte, and a node
// that refuses shows its reason on the "Access denied" path.
#include "fleet/DiagnoseAll.h"
#include "inventory/InventoryScanCommands.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"
#include "remote/WsManManagement.h"
#include "support/InventoryFakes.h"
#include "support/WsManTestServer.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

const std::string Drives = R"([
  {"Drive": "D:", "Name": "HL-DT-ST DVDRAM GH24NSD1", "Availability": 3, "ConfigManagerErrorCode": 0,
   "ErrorCleared": null, "ErrorDescription": null, "LastErrorCode": null, "Status": "OK", "StatusInfo": null,
   "MediaLoaded": true},
  {"Drive": "E:", "Name": "TSSTcorp CDDVDW SH-224DB", "Availability": 8, "ConfigManagerErrorCode": 22,
   "ErrorCleared": false, "ErrorDescription": "Device disabled", "LastErrorCode": 31, "Status": "Error",
   "StatusInfo": 4, "MediaLoaded": false}])";

const std::string Report = "CD\r\n2\r\nD:\r\nHL-DT-ST DVDRAM GH24NSD1\r\nE:\r\nTSSTcorp CDDVDW SH-224DB\r\n\r\n";
const std::string Diagnostics = "2\r\n3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue\r\n"
                                "8\r\n22\r\nFalse\r\nDevice disabled\r\n31\r\nError\r\n4\r\nFalse\r\n\r\n";

std::string nodeJson(int itemsPerReply = 1)
{
    return R"({"classes": {"Win32_CDROMDrive": )" + Drives +
           R"(, "Win32_ComputerSystem": [{"Name": "SRV-ARCHIVE"}]}, "itemsPerReply": )" +
           std::to_string(itemsPerReply) + "}";
}

const std::string AdminUser = std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User;

struct Rig {
    QTemporaryDir dir;
    std::filesystem::path folder{dir.path().toStdString()};
    NodeTable table;
    Settings settings;
    std::size_t SelectedNode = 2;
    std::size_t LocalNode = 1;
    ScanFlags flags;
    DriveResults results;
    BackgroundWork runner;
    test::RecordingProgress dialog;
    test::RecordingWindow window;
    test::RecordingTree tree;
    test::RecordingGrids grids;
    test::RecordingUnits units;
    CommandGate gate;
    std::unique_ptr<InventoryScanCommands> commands;

    explicit Rig(ManagementService& management)
    {
        for (const char* name : {"WS-ADMIN", "SRV-ARCHIVE"}) {
            table.append(discoveredNode(name));
            std::filesystem::create_directory(folder / name);
        }
        table.at(1).IP = "192.168.1.10";
        table.at(2).IP = "127.0.0.1";
        settings.AdminUser = AdminUser;
        settings.AdminPassword = WsManTestServer::Password;
        commands = std::make_unique<InventoryScanCommands>(
            InventoryState{table, settings, SelectedNode, LocalNode, flags, folder, results},
            InventoryServices{management, runner, dialog, window, tree, grids, units, gate, [] { return false; }});
    }
    std::string file(const char* name) const
    {
        std::ifstream in(folder / "SRV-ARCHIVE" / name, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
    }
    void scanAndDiagnose()
    {
        commands->BuildSelected();
        commands->DiagnoseSelected();
    }
};

std::shared_ptr<SimulatedNetwork> simulatedNode()
{
    std::string error;
    auto net = SimulatedNetwork::parse(
        R"({"localAddress": "192.168.1.10", "computers": [{"name": "SRV-ARCHIVE", "address": "127.0.0.1",
            "management": {"accounts": [{"user": "SRV-ARCHIVE\\Administrator", "password": "Pa55-w0rd!"}],
                           "namespaces": ["root\\cimv2"], "cdromDrives": )" + Drives + "}}]}",
        "net.json", error);
    EXPECT_TRUE(net) << error;
    return net;
}

RemoteTransport httpsTo(const WsManTestServer& server)
{
    RemoteTransport transport;
    transport.https = true;
    transport.port = server.port();
    transport.caFile = server.caFile();
    return transport;
}

TEST(RemoteInventory, DrivesAndDiagnosticsOfANodeMatchTheSimulatedNode)
{
    SimulatedManagement simulated(simulatedNode());
    Rig same(simulated);
    same.scanAndDiagnose();
    EXPECT_EQ(same.file("report"), Report);
    EXPECT_EQ(same.file("sen_cd"), Diagnostics);
    // As a node leaves it after winrm quickconfig (NTLM, sealed bodies), and Basic over HTTPS.
    for (const bool https : {false, true}) {
        WsManTestServer server({nodeJson(), https ? "basic" : "ntlm", https});
        ASSERT_TRUE(server.started()) << server.error();
        RemoteTransport transport = httpsTo(server);
        transport.https = https;
        WsManManagement remote([transport] { return transport; });
        Rig rig(remote);
        rig.scanAndDiagnose();
        EXPECT_EQ(rig.dialog.status, "System scanned for 127.0.0.1") << rig.dialog.detail;
        EXPECT_EQ(rig.file("report"), Report);
        EXPECT_EQ(rig.file("sen_cd"), Diagnostics);
        EXPECT_EQ(rig.table.at(2).Scanned, "Scanned");
        EXPECT_EQ(rig.grids.green, "1");
        EXPECT_EQ(rig.grids.red, "1");
        EXPECT_EQ(rig.grids.rows(StateGrid::Red), same.grids.rows(StateGrid::Red));
        EXPECT_EQ(rig.grids.rows(StateGrid::Green), same.grids.rows(StateGrid::Green));
    }
}

TEST(RemoteInventory, ARefusingOrAbsentNodeIsAccessDeniedWithItsReason)
{
    WsManTestServer server({nodeJson(), "ntlm"});
    ASSERT_TRUE(server.started()) << server.error();
    RemoteTransport transport;
    transport.port = server.port();
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const int closedPort = closed.serverPort();
    closed.close();

    const struct {
        bool reachable;
        const char* password;
        std::string detail;
    } cases[] = {
        {true, "Wrong-pw!", "401: the node refused the login of \"" + AdminUser + "\""},
        {false, WsManTestServer::Password,
         "connection refused on port " + std::to_string(closedPort) + ": is remote management enabled on the node?"},
    };
    for (const auto& c : cases) {
        RemoteTransport t = transport;
        if (!c.reachable)
            t.port = closedPort;
        WsManManagement remote([t] { return t; });
        Rig rig(remote);
        rig.settings.AdminPassword = c.password;
        rig.commands->DiagnoseSelected();
        EXPECT_EQ(rig.dialog.status, "Access denied to 127.0.0.1");
        EXPECT_EQ(rig.dialog.detail.rfind(c.detail, 0), 0u) << rig.dialog.detail;
        EXPECT_EQ(rig.window.message.find(c.password), std::string::npos);
        EXPECT_EQ(rig.table.at(2).Scanned, "Access denied");
        EXPECT_TRUE(rig.flags.AccessDenied);
        EXPECT_EQ(rig.file("sen_cd"), "<none>");
    }
}

TEST(RemoteInventory, ADiagnosticsScanSharesOneSignedInConnectionAndAsksTheSchemesOncePerRun)
{
    const struct {
        const char* auth;
        bool https;
        std::size_t first;  // round trips of the first scan of the run
        std::size_t second; // of the next one
    } cases[] = {
        // TCP, the negotiate leg, the last leg carrying the check, the drive query.
        {"ntlm", false, 4, 4},
        // TCP, TLS, the schemes asked once, the check, the drive query.
        {"basic", true, 5, 4},
    };
    for (const auto& c : cases) {
        // A node that answers with every drive at once, as Windows does.
        WsManTestServer server({nodeJson(32), c.auth, c.https});
        ASSERT_TRUE(server.started()) << server.error();
        RemoteTransport transport = httpsTo(server);
        transport.https = c.https;
        WsManManagement remote([transport] { return transport; });
        Rig rig(remote);
        rig.commands->DiagnoseSelected();
        EXPECT_EQ(rig.file("sen_cd"), Diagnostics) << c.auth << ": " << rig.dialog.detail;
        EXPECT_EQ(server.roundTrips(), c.first) << c.auth << "\n" << server.requestLog();
        EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 1u) << c.auth;
        rig.commands->DiagnoseSelected();
        EXPECT_EQ(server.roundTrips(), c.first + c.second) << c.auth << "\n" << server.requestLog();
        EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 2u) << "a command's connection ends with it";
    }
}

TEST(RemoteInventory, ANodeOfDiagnoseAllOverNtlmCostsFourRoundTripsOnOneConnection)
{
    WsManTestServer server({nodeJson(32), "ntlm"});
    ASSERT_TRUE(server.started()) << server.error();
    RemoteTransport transport;
    transport.port = server.port();
    WsManManagement management([transport] { return transport; });
    QTemporaryDir dir;
    const DiagnosisSettings settings{dir.path().toStdString(),
                                     std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User,
                                     WsManTestServer::Password, "root\\cimv2"};
    NodeTable table;
    NodeRecord node = discoveredNode("SRV-ARCHIVE");
    node.IP = "127.0.0.1";
    table.append(node);
    const std::atomic<bool> cancel{false};
    const FleetRun run = diagnoseAll(table, management, settings, 1, cancel);
    ASSERT_EQ(run.outcomes.at(0)->kind, NodeOutcomeKind::Diagnosed) << run.outcomes.at(0)->reason;
    // TCP, the negotiate leg, the last leg carrying the connectivity check, one query for both files.
    EXPECT_EQ(server.roundTrips(), 4u) << server.requestLog();
    EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 1u);
    // The files of the one query are those of the window's two.
    for (const auto& [file, text] : {std::pair{"report", Report}, std::pair{"sen_cd", Diagnostics}}) {
        std::ifstream in(dir.filePath(QString("SRV-ARCHIVE/") + file).toStdString(), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text) << file;
    }
}

} // namespace
} // namespace vorlu
