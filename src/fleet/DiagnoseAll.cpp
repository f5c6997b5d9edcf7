#include "fleet/DiagnoseAll.h"

#include "fleet/FleetHistory.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

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

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<NodeOutcome>> ready(nodes.size());
    std::size_t next = 0;
    std::size_t running = 0;
    std::string started;

    auto work = [&] {
        for (;;) {
            std::size_t i = 0;
            {
                std::lock_guard lock(mutex);
                if (cancel.load() || next >= nodes.size()) {
                    --running;
                    changed.notify_all();
                    return;
                }
                i = next++;
                started = nodes[i].Name;
            }
            changed.notify_all();
            NodeOutcome outcome = diagnoseNode(management, nodes[i], settings);
            std::lock_guard lock(mutex);
            ready[i] = std::move(outcome);
            changed.notify_all();
        }
    };

    const std::size_t workers = std::clamp<std::size_t>(atOnce, MinNodesAtOnce, MaxNodesAtOnce);
    std::vector<std::jthread> threads;
    running = std::min(workers, nodes.size());
    for (std::size_t w = 0; w < running; ++w)
        threads.emplace_back(work);

    FleetProgress shown;
    shown.total = nodes.size();
    std::size_t applied = 0;
    std::unique_lock lock(mutex);
    for (;;) {
        // A heartbeat too, so a window keeps painting and sees its Cancel while every node is slow.
        changed.wait_for(lock, std::chrono::milliseconds(50), [&] {
            return (applied < nodes.size() && ready[applied]) || running == 0 || started != shown.currentNode;
        });
        shown.currentNode = started;
        // Taken in order, so finished nodes always form a prefix once the workers end.
        while (applied < nodes.size() && ready[applied]) {
            run.outcomes[applied] = std::move(ready[applied]);
            const NodeOutcome& o = *run.outcomes[applied];
            lock.unlock();
            table.at(applied + 1).Scanned = scannedStateOf(o);
            if (o.kind != NodeOutcomeKind::Diagnosed)
                ++shown.failures;
            ++applied;
            shown.done = applied;
            if (progress)
                progress(shown);
            lock.lock();
        }
        if (running == 0 && (applied >= nodes.size() || !ready[applied]))
            break;
        if (progress && shown.done < shown.total) {
            lock.unlock();
            progress(shown);
            lock.lock();
        }
    }
    lock.unlock();
    threads.clear();
    run.cancelled = applied < nodes.size();
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
