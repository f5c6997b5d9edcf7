// The whole network at once: every node of a 500-computer simulated network
// with 50 ms per management call diagnosed as many at a time as the settings
// give by default, and the HTML export
// of 5,000 drives.
#include "QtBenchmarkMain.h"

#include "fleet/DiagnoseAll.h"
#include "fleet/FleetExport.h"
#include "support/FleetTestNetwork.h"

#include <QTemporaryDir>

namespace {

using namespace vorlu;
using namespace vorlu::test;

void BM_DiagnoseAll500Nodes50msEach(benchmark::State& state)
{
    std::string computers;
    for (int i = 1; i <= 500; ++i)
        computers += (i > 1 ? "," : "") + simComputer(i, simDrive("D:", "OK") + "," + simDrive("E:", "Error"), 50);
    SimulatedManagement management(simNetwork(computers));
    QTemporaryDir dir;
    const DiagnosisSettings settings{dir.path().toStdString(), "", "", "root\\cimv2"};
    const std::atomic<bool> cancel{false};
    for (auto _ : state) {
        NodeTable table;
        for (int i = 1; i <= 500; ++i)
            table.append(simNode(i));
        benchmark::DoNotOptimize(diagnoseAll(table, management, settings, DefaultNodesAtOnce, cancel));
    }
}
BENCHMARK(BM_DiagnoseAll500Nodes50msEach)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_HtmlExport5000Drives(benchmark::State& state)
{
    std::vector<FleetRow> rows(5000);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {"PC" + std::to_string(i / 10), "10.0.0.1", "D:", "DVD <RW> \"drive\"", FleetState::Red, "Error",
                   "2026-12-10T10:00:00Z", "", "", {}};
    for (auto _ : state)
        benchmark::DoNotOptimize(formatFleetHtml(rows, {"2026-12-10T10:00:00Z", "1.60"}));
}
BENCHMARK(BM_HtmlExport5000Drives)->Unit(benchmark::kMillisecond);

} // namespace
