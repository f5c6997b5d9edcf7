// The fleet view with 5,000 drives: filled, and sorted by a column.
#include "QtBenchmarkMain.h"

#include "fleet/ui/FleetViewWindow.h"

namespace {

using namespace vorlu;

std::vector<FleetRow> drives5000()
{
    std::vector<FleetRow> rows(5000);
    const FleetState states[] = {FleetState::Green, FleetState::Amber, FleetState::Red};
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {"PC" + std::to_string((i * 7919) % 500), "10.0.0.1", "D:", "DVD " + std::to_string(i),
                   states[i % 3], "OK", "2026-12-10T10:00:00Z", "", "", ""};
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
