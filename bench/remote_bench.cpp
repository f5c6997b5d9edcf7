// A diagnostics scan of a node over WS-Management on loopback, NTLM
// handshake and sealed bodies included: "Current Node Optical Drives
// Diagnostics Scan" from the command to the counters, against the test server.
#include "NullTree.h"
#include "QtBenchmarkMain.h"

#include "inventory/InventoryScanCommands.h"
#include "remote/WsManManagement.h"
#include "support/InventoryFakes.h"
#include "support/WsManTestServer.h"

#include <QTemporaryDir>

namespace {

using namespace vorlu;

std::string nodeJson(int drives)
{
    std::string rows;
    for (int k = 0; k < drives; ++k)
        rows += std::string(k ? "," : "") + R"({"Drive": "D:", "Name": "DVD", "Availability": 3,
            "ConfigManagerErrorCode": 0, "ErrorCleared": null, "ErrorDescription": null, "LastErrorCode": null,
            "Status": "OK", "StatusInfo": null, "MediaLoaded": true})";
    return R"({"classes": {"Win32_CDROMDrive": [)" + rows + R"(], "Win32_ComputerSystem": [{"Name": "SRV-ARCHIVE"}]}})";
}

void BM_RemoteDiagnosticsScanNtlm4Drives(benchmark::State& state)
{
    WsManTestServer server({nodeJson(4), "ntlm"});
    if (!server.started()) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    RemoteTransport transport;
    transport.port = server.port();
    WsManManagement management([transport] { return transport; });
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::create_directory(folder / "SRV-ARCHIVE");
    NodeTable table;
    NodeRecord r = discoveredNode("SRV-ARCHIVE");
    r.IP = "127.0.0.1";
    table.append(r);
    Settings settings;
    settings.AdminUser = std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User;
    settings.AdminPassword = WsManTestServer::Password;
    std::size_t selected = 1;
    const std::size_t local = 0;
    ScanFlags flags;
    BackgroundWork runner;
    test::RecordingProgress progress;
    test::RecordingWindow window;
    bench::NullTree tree;
    test::RecordingGrids grids;
    test::RecordingUnits units;
    CommandGate gate;
    DriveResults results;
    InventoryScanCommands commands({table, settings, selected, local, flags, folder, results},
                                   {management, runner, progress, window, tree, grids, units, gate,
                                    {}});
    for (auto _ : state) {
        commands.DiagnoseSelected();
        if (commands.results().table.DriveCount() != 4) {
            state.SkipWithError(("the scan failed: " + progress.detail).c_str());
            break;
        }
        progress.statuses.clear();
    }
}
BENCHMARK(BM_RemoteDiagnosticsScanNtlm4Drives)->Unit(benchmark::kMillisecond);

} // namespace
