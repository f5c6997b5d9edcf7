#pragma once
#include "fleet/DiagnoseAll.h"
#include "fleet/FleetRows.h"
#include "commands/CommandGate.h"
#include "nodes/Settings.h"

#include <functional>

namespace vorlu {

// The progress window of "Diagnose All Nodes".
class FleetProgressView {
public:
    virtual ~FleetProgressView() = default;
    // cancel is called at once when the user asks to stop, even while every node is still under way.
    virtual void showProgress(std::function<void()> cancel) = 0;
    virtual void setProgress(const FleetProgress& progress) = 0;
    virtual void hideProgress() = 0;
};

struct FleetServices {
    ManagementService& management;
    CommandGate& gate;
    FleetProgressView& progress;
    std::function<void(const std::string&)> statusMessage;
    // Shows the node on display again, as a double-click in the node tree does.
    std::function<void()> showNodeAgain;
    // True while the program is closing: the run stops as a Cancel stops it.
    std::function<bool()> ending;
};

// "Diagnose All Nodes": every node of the table, as many at once as the
// settings say, and the fleet's rows kept for the views and exports that read them.
class FleetCommands {
public:
    FleetCommands(NodeTable& table, const Settings& settings, const std::filesystem::path& programFolder,
                  FleetServices services);

    // False when another command holds the gate (the status line says so).
    bool DiagnoseAll();
    // The rows of the last run.
    const std::vector<FleetRow>& rows() const { return rows_; }
    // The rows of a fleet view opened now: what the program folder keeps, so
    // it lists every node with or without a run in this session.
    std::vector<FleetRow> storedRows(std::string* historyProblem) const;
    // Records node n's stored diagnostics in the history, as a single node's
    // diagnostics scan leaves them; the status line says when it could not.
    void recordStoredDiagnosis(std::size_t n);
    // Why the last run was not recorded in the history, or empty.
    const std::string& historyProblem() const { return historyProblem_; }

private:
    NodeTable& table_;
    const Settings& settings_;
    std::filesystem::path programFolder_;
    FleetServices services_;
    std::vector<FleetRow> rows_;
    std::string historyProblem_;
};

} // namespace vorlu
