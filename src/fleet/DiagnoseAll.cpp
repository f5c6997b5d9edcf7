#include "fleet/DiagnoseAll.h"

#include "fleet/FleetHistory.h"
#include "platform/CallCancel.h"

#include "commands/BackgroundWork.h"

#include <algorithm>

namespace vorlu {

FleetRun diagnoseAll(NodeTable& table, ManagementService& management, const DiagnosisSettings& settings,
                     std::size_t atOnce, const std::atomic<bool>& cancel,
                     const std::function<void(const FleetProgress&)>& progress)
{
    // Workers read a copy, so the table is only ever touched by this thread.
    std::vector<NodeRecord> nodes;
    for (std::size_t n = 1; n <= table.count(); ++n)
        nodes.push_back(table.at(n));
    FleetRun run;
    run.outcomes.resize(nodes.size());
    FleetProgress shown;
    shown.total = nodes.size();

    BackgroundWork work(static_cast<int>(std::clamp<std::size_t>(atOnce, MinNodesAtOnce, MaxNodesAtOnce)));
    const std::size_t applied = work.runInOrder(
        nodes.size(),
        [&](std::size_t i) {
            const CancelScope scope(cancel);
            run.outcomes[i] = diagnoseNode(management, nodes[i], settings);
        },
        [&](std::size_t i) {
            shown.currentNode = nodes[i].Name;
            if (progress)
                progress(shown);
        },
        [&](std::size_t i) {
            if (run.outcomes[i]->kind == NodeOutcomeKind::Cancelled) {
                run.outcomes[i].reset(); // the node keeps what it had
                ++run.cancelledNodes;
            } else {
                const NodeOutcome& o = *run.outcomes[i];
                table.at(i + 1).Scanned = scannedStateOf(o);
                if (o.kind != NodeOutcomeKind::Diagnosed)
                    ++shown.failures;
            }
            shown.done = i + 1;
            if (progress)
                progress(shown);
        },
        [&cancel] { return cancel.load(); });
    run.cancelledNodes += nodes.size() - applied; // never started
    run.cancelled = run.cancelledNodes > 0;
    return run;
}

std::vector<FleetRow> fleetRowsOfRun(const NodeTable& table, const FleetRun& run)
{
    std::vector<FleetRow> rows;
    for (std::size_t n = 1; n <= table.count() && n <= run.outcomes.size(); ++n) {
        const auto nodeRows = fleetRowsOf(table.at(n), run.outcomes[n - 1]);
        rows.insert(rows.end(), nodeRows.begin(), nodeRows.end());
    }
    return rows;
}

std::string recordHistory(const std::filesystem::path& programFolder, const NodeTable& table, const FleetRun& run,
                          std::vector<FleetRow>& rows)
{
    std::string problem;
    auto history = FleetHistory::open(programFolder / HistoryFileName, problem);
    rows = fleetRowsOfRun(table, run);
    if (history) {
        history->record(rows, &problem);
        addChangesOf(history->recordedFleet(), rows);
    }
    return problem;
}

} // namespace vorlu
