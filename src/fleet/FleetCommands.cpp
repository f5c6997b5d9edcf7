#include "fleet/FleetCommands.h"

#include "commands/BackgroundWork.h"
#include "fleet/FleetHistory.h"
#include "fleet/StoredFleet.h"

namespace vorlu {

FleetCommands::FleetCommands(NodeTable& table, const Settings& settings, const std::filesystem::path& programFolder,
                             FleetServices services)
    : table_(table), settings_(settings), programFolder_(programFolder), services_(std::move(services))
{
}

bool FleetCommands::DiagnoseAll()
{
    {
        const CommandGate::Pass pass = services_.gate.enter();
        if (!pass) {
            services_.statusMessage(CommandGate::busyText);
            return false;
        }
        if (table_.empty())
            return true;
        const DiagnosisSettings diagnosis{programFolder_, settings_.AdminUser, settings_.AdminPassword,
                                          settings_.WmiNamespace};
        std::atomic<bool> cancel{false};
        services_.progress.showProgress([&cancel] { cancel = true; });
        const std::size_t atOnce = settings_.transport.nodesAtOnce;
        const FleetRun run = diagnoseAll(table_, services_.management, diagnosis, atOnce, cancel,
                                         [this, &cancel](const FleetProgress& p) {
                                             services_.progress.setProgress(p);
                                             if (services_.ending && services_.ending())
                                                 cancel = true;
                                         });
        services_.progress.hideProgress();
        std::size_t finished = 0;
        for (const auto& outcome : run.outcomes)
            finished += outcome ? 1 : 0;
        // The history's transaction on a worker, from copies, so the window keeps painting meanwhile.
        std::vector<FleetRow> rows;
        std::string problem;
        BackgroundWork().run([folder = programFolder_, table = table_, &run, &rows, &problem] {
            problem = recordHistory(folder, table, run, rows);
        });
        historyProblem_ = std::move(problem);
        rows_ = std::move(rows);
        const FleetCounts c = countFleet(rows_);
        services_.statusMessage((run.cancelled ? "Diagnose All Nodes cancelled: " : "Diagnose All Nodes: ") +
                                std::to_string(finished) + " of " + std::to_string(table_.count()) +
                                " nodes diagnosed, " +
                                (run.cancelled ? std::to_string(run.cancelledNodes) + " cancelled, " : "") +
                                std::to_string(c.red) + " red, " + std::to_string(c.amber) +
                                " amber, " + std::to_string(c.green) + " green, " + std::to_string(c.notReached) +
                                " not reached" +
                                (historyProblem_.empty() ? "" : "; history not recorded: " + historyProblem_));
    }
    // After the gate is let go: showing the node is a command of its own.
    if (services_.showNodeAgain)
        services_.showNodeAgain();
    return true;
}

std::vector<FleetRow> FleetCommands::storedRows(std::string* historyProblem) const
{
    return storedFleetRows(programFolder_, table_, historyProblem);
}

void FleetCommands::recordStoredDiagnosis(std::size_t n)
{
    if (!table_.contains(n))
        return;
    const NodeRecord& node = table_.at(n);
    const auto stored = storedDiagnosis(programFolder_, node);
    if (!stored)
        return;
    std::string problem;
    auto history = FleetHistory::open(programFolder_ / HistoryFileName, problem);
    if (history && history->record(fleetRowsOf(node, stored), &problem))
        return;
    services_.statusMessage("Diagnostics of " + node.Name + " not recorded in the history: " + problem);
}

} // namespace vorlu
