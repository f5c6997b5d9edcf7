// The fleet view with 5,000 drives: filled, filled from what the program
// folder keeps (500 nodes of ten drives, two runs in the history), and sorted
// by a column.
#include "QtBenchmarkMain.h"

#include "fleet/DiagnoseAll.h"
#include "fleet/StoredFleet.h"
#include "fleet/ui/FleetViewWindow.h"
#include "support/FleetTestNetwork.h"

#include <QTemporaryDir>

#include <unistd.h>

namespace {

using namespace vorlu;

std::vector<FleetRow> drives5000()
{
    std::vector<FleetRow> rows(5000);
    const FleetState states[] = {FleetState::Green, FleetState::Amber, FleetState::Red};
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {"PC" + std::to_string((i * 7919) % 500), "10.0.0.1", "D:", "DVD " + std::to_string(i),
                   states[i % 3], "OK", "2026-12-10T10:00:00Z", "", "", {}};
    return rows;
}

void BM_FleetViewFill5000Drives(benchmark::State& state)
{
    const auto rows = drives5000();
    FleetViewWindow view(nullptr, "1.60", {});
    for (auto _ : state)
        view.setRows(rows);
}
BENCHMARK(BM_FleetViewFill5000Drives)->Unit(benchmark::kMillisecond);

// The program folder a later session finds: made once, and on the disk
// before any is timed, so the writing does not weigh on the reading.
struct StoredFleetFolder {
    QTemporaryDir dir;
    std::filesystem::path folder = dir.path().toStdString();
    NodeTable table;

    StoredFleetFolder()
    {
        std::string drives;
        for (char letter = 'D'; letter < 'D' + 10; ++letter)
            drives += (letter > 'D' ? "," : "") +
                      test::simDrive(std::string(1, letter) + ":", letter % 3 ? "OK" : "Error");
        std::string computers;
        for (int i = 1; i <= 500; ++i)
            computers += (i > 1 ? "," : "") + test::simComputer(i, drives);
        SimulatedManagement management(test::simNetwork(computers));
        for (int i = 1; i <= 500; ++i)
            table.append(test::simNode(i));
        const std::atomic<bool> cancel{false};
        for (int run = 0; run < 2; ++run) {
            std::vector<FleetRow> rows;
            recordHistory(folder, table,
                          diagnoseAll(table, management, {folder, "", "", "root\\cimv2"}, 16, cancel), rows);
        }
        ::sync();
    }
};

const StoredFleetFolder& storedFleetFolder()
{
    static const StoredFleetFolder stored;
    return stored;
}

void BM_FleetViewFillFromStoredFiles5000Drives(benchmark::State& state)
{
    const StoredFleetFolder& stored = storedFleetFolder();
    FleetViewWindow view(nullptr, "1.60", {});
    for (auto _ : state)
        view.setRows(storedFleetRows(stored.folder, stored.table));
}
BENCHMARK(BM_FleetViewFillFromStoredFiles5000Drives)->Unit(benchmark::kMillisecond);

// The reading alone: files, marks and history.
void BM_StoredFleetRows5000Drives(benchmark::State& state)
{
    const StoredFleetFolder& stored = storedFleetFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(storedFleetRows(stored.folder, stored.table));
}
BENCHMARK(BM_StoredFleetRows5000Drives)->Unit(benchmark::kMillisecond);

void BM_FleetViewSort5000Drives(benchmark::State& state)
{
    FleetViewWindow view(nullptr, "1.60", {});
    view.setRows(drives5000());
    bool ascending = true;
    for (auto _ : state) {
        view.sortBy(0, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        ascending = !ascending;
    }
}
BENCHMARK(BM_FleetViewSort5000Drives)->Unit(benchmark::kMillisecond);

} // namespace
