// Drive diagnostics speed: evaluating a diagnostics file of 255 drives into
// the state grids and counters, and "Local  Computer Optical Drives
// Diagnostics Scan" of a simulated computer with four drives, from the
// command to the counters shown.
#include "NullTree.h"
#include "QtBenchmarkMain.h"

#include "inventory/InventoryScanCommands.h"
#include "inventory/ui/StateGridsWidgets.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

#include <array>
#include <memory>
#include <string>

namespace {

using namespace vorlu;

// The real grid widgets and counter labels, made afresh per run: the grids keep
// their rows between evaluations.
struct Grids {
    std::array<std::unique_ptr<QTableWidget>, 3> tables;
    std::array<std::unique_ptr<QLabel>, 3> labels;
    std::unique_ptr<StateGridsWidgets> view;
    Grids()
    {
        std::array<QTableWidget*, 3> t{};
        std::array<QLabel*, 3> l{};
        for (std::size_t i = 0; i < 3; ++i) {
            tables[i] = std::make_unique<QTableWidget>();
            labels[i] = std::make_unique<QLabel>("0");
            t[i] = tables[i].get();
            l[i] = labels[i].get();
        }
        view = std::make_unique<StateGridsWidgets>(t, l, QIcon(), [] { return true; });
    }
};

std::string diagnostics(int drives)
{
    static const char* statuses[] = {"OK", "Error", "Unknown", "Pred Fail", "Starting", "Lost Comm"};
    std::string text = std::to_string(drives) + "\r\n";
    for (int k = 0; k < drives; ++k)
        text += "3\r\n0\r\nFalse\r\nno fault\r\n0\r\n" + std::string(statuses[k % 6]) + "\r\n3\r\nTrue\r\n";
    return text + "\r\n";
}

void BM_Evaluate255Drives(benchmark::State& state)
{
    const std::string text = diagnostics(255);
    DrivePainter painter;
    for (auto _ : state) {
        state.PauseTiming();
        Grids grids;
        DriveResults results;
        state.ResumeTiming();
        resetDriveResults(results, *grids.view, painter);
        presentEvaluation(evaluateDiagnostics(text), {"192.168.1.5", "SRV-ARCHIVE"}, results, *grids.view, painter);
        ShowDriveCounters(results, *grids.view);
        benchmark::DoNotOptimize(results.table.DriveCount());
        state.PauseTiming();
        grids = Grids{};
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Evaluate255Drives)->Unit(benchmark::kMillisecond);

class NullProgress : public ScanProgressView {
public:
    void setCaption(const std::string&) override {}
    void showDialog() override {}
    void hideDialog() override {}
    void setStatus(const std::string& t) override { benchmark::DoNotOptimize(t.data()); }
    void setDetail(const std::string&) override {}
    void setBarFraction(double) override {}
    void setBusyPointer(bool) override {}
};

class NullWindow : public InventoryWindowView {
public:
    void setBusyPointer(bool) override {}
    void setStatusMessage(const std::string&) override {}
};

class NullUnits : public ModelUnits {
public:
    void hideAllUnits() override {}
    void showUnitsForDrives(int, bool) override {}
    void renderScene() override {}
};

void BM_LocalDiagnosticsScan4Drives(benchmark::State& state)
{
    std::string drives;
    for (int k = 0; k < 4; ++k)
        drives += std::string(k ? "," : "") + R"({"Drive": "D:", "Name": "DVD", "Availability": 3,
            "ConfigManagerErrorCode": 0, "Status": "OK", "MediaLoaded": true})";
    std::string error;
    auto net = SimulatedNetwork::parse(R"({"localAddress": "192.168.1.10", "computers": [{"name": "WS-ADMIN",
        "address": "192.168.1.10", "management": {"accounts": [{"user": "", "password": ""}],
        "cdromDrives": [)" + drives + "]}}]}",
                                       "bench.json", error);
    SimulatedManagement management(net);
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::create_directory(folder / "WS-ADMIN");
    NodeTable table;
    NodeRecord r = discoveredNode("WS-ADMIN");
    r.IP = "192.168.1.10";
    table.append(r);
    Settings settings;
    std::size_t selected = 1;
    const std::size_t local = 1;
    ScanFlags flags;
    BackgroundWork runner;
    NullProgress progress;
    NullWindow window;
    bench::NullTree tree;
    NullUnits units;
    CommandGate gate;
    Grids grids;
    DriveResults results;
    InventoryScanCommands commands({table, settings, selected, local, flags, folder, results},
                                   {management, runner, progress, window, tree, *grids.view, units, gate,
                                    {}});
    for (auto _ : state) {
        commands.LocalDiagnostics();
        benchmark::DoNotOptimize(commands.results().table.DriveCount());
    }
}
BENCHMARK(BM_LocalDiagnosticsScan4Drives)->Unit(benchmark::kMillisecond);

} // namespace
