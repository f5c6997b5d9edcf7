#pragma once
#include "fleet/FleetRows.h"
#include "inventory/NodeDiagnosis.h"
#include "platform/RemoteTransport.h"

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

namespace vorlu {

struct FleetProgress {
    std::size_t done = 0;
    std::size_t total = 0;
    std::string currentNode; // the node waited for
    std::size_t failures = 0;
};

// One entry per node of the table, in node order; empty for nodes that a
// cancel left untouched.
struct FleetRun {
    std::vector<std::optional<NodeOutcome>> outcomes;
    bool cancelled = false;
    std::size_t cancelledNodes = 0; // under way or not started when the cancel came
};

// Diagnoses every node of the table, up to `atOnce` (1 to MaxNodesAtOnce) at
// the same time on as many worker threads, however many nodes there are, while
// the calling thread handles its events (a window's Cancel).
// The table's Scanned fields and the progress calls happen on the calling
// thread, in node order. A cancel ends the calls under way (their files are
// left as they were, or whole), starts no other node, and leaves every node
// it did not finish untouched, its Scanned field included.
FleetRun diagnoseAll(NodeTable& table, ManagementService& management, const DiagnosisSettings& settings,
                     std::size_t atOnce, const std::atomic<bool>& cancel,
                     const std::function<void(const FleetProgress&)>& progress = {});

// The fleet rows of a run, node after node (nodes a cancel left untouched
// have none).
std::vector<FleetRow> fleetRowsOfRun(const NodeTable& table, const FleetRun& run);

// The run's rows recorded in the program folder's history in one transaction;
// an empty text, or why the history was left out (the run stands).
std::string recordHistory(const std::filesystem::path& programFolder, const NodeTable& table, const FleetRun& run,
                          std::vector<FleetRow>& rows);

} // namespace vorlu
