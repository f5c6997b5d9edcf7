#pragma once
// "Current Node Optical Drives Diagnostics Scan" of one node, SRV-ARCHIVE at
// the address given (loopback unless a delay line stands between) with four drives, from the command to the counters, through the
// management service given and signed in with the administrator login.
#include "NullTree.h"

#include "inventory/InventoryScanCommands.h"
#include "support/InventoryFakes.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <filesystem>

namespace vorlu::bench {

// The node's answers for the test server: four working drives.
inline std::string fourDriveNode()
{
    std::string rows;
    for (int k = 0; k < 4; ++k)
        rows += std::string(k ? "," : "") + R"({"Drive": "D:", "Name": "DVD", "Availability": 3,
            "ConfigManagerErrorCode": 0, "ErrorCleared": null, "ErrorDescription": null, "LastErrorCode": null,
            "Status": "OK", "StatusInfo": null, "MediaLoaded": true})";
    return R"({"classes": {"Win32_CDROMDrive": [)" + rows + R"(], "Win32_ComputerSystem": [{"Name": "SRV-ARCHIVE"}]}})";
}

inline void runDiagnosticsScans(benchmark::State& state, ManagementService& management, const std::string& adminUser,
                                const std::string& adminPassword, const std::string& address = "127.0.0.1")
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::create_directory(folder / "SRV-ARCHIVE");
    NodeTable table;
    NodeRecord r = discoveredNode("SRV-ARCHIVE");
    r.IP = address;
    table.append(r);
    Settings settings;
    settings.AdminUser = adminUser;
    settings.AdminPassword = adminPassword;
    std::size_t selected = 1;
    const std::size_t local = 0;
    ScanFlags flags;
    BackgroundWork runner;
    test::RecordingProgress progress;
    test::RecordingWindow window;
    NullTree tree;
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

} // namespace vorlu::bench
