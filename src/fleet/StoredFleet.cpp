#include "fleet/StoredFleet.h"

#include "fleet/FleetHistory.h"
#include "inventory/InventoryTexts.h"
#include "nodes/NodeFolders.h"
#include "nodes/AtomicFile.h"

#include <QDateTime>
#include <QFileInfo>

namespace vorlu {

std::optional<NodeOutcome> storedDiagnosis(const std::filesystem::path& programFolder, const NodeRecord& node)
{
    if (folderNameProblem(node.Name))
        return std::nullopt;
    const std::filesystem::path folder = nodeFolder(programFolder, node.Name);
    NodeOutcome out;
    if (!readWholeFile(folder / DiagnosticsFileName, out.diagnostics))
        return std::nullopt;
    out.kind = NodeOutcomeKind::Diagnosed;
    (void)readWholeFile(folder / ReportFileName, out.report); // without it, drives are named by their place
    out.diagnosedAt = QFileInfo(QString::fromStdString((folder / DiagnosticsFileName).string()))
                          .lastModified()
                          .toUTC()
                          .toString(Qt::ISODate)
                          .toStdString();
    return out;
}

namespace {

std::vector<FleetRow> storedRowsOf(const std::filesystem::path& programFolder, const NodeRecord& node,
                                   const FleetHistory* history, const RecordedFleet& recorded)
{
    const auto at = recorded.latestAt.find(node.Name);
    const std::string latestAt = at == recorded.latestAt.end() ? std::string() : at->second;
    if (node.Scanned == AccessDeniedState) {
        NodeOutcome refused;
        refused.kind = NodeOutcomeKind::Refused;
        // The reason of the refusal the history saw last; a refusal of a single node's scan is not kept.
        if (const auto last = latestAt.empty() ? std::vector<FleetRow>() : history->latest(node.Name);
            last.size() == 1 && last.front().state == FleetState::NotReached) {
            refused.reason = last.front().reason;
            refused.diagnosedAt = latestAt;
        }
        return fleetRowsOf(node, refused);
    }
    // ISO 8601 times in UTC order as text; a tie is the same run, whose files are whole.
    auto stored = storedDiagnosis(programFolder, node);
    if (stored && stored->diagnosedAt >= latestAt)
        return fleetRowsOf(node, stored);
    if (!latestAt.empty())
        return history->latest(node.Name);
    return fleetRowsOf(node, NodeOutcome{});
}

} // namespace

std::vector<FleetRow> storedFleetRows(const std::filesystem::path& programFolder, const NodeTable& table,
                                      std::string* historyProblem)
{
    const std::filesystem::path file = programFolder / HistoryFileName;
    const std::optional<FleetHistory> history = [&]() -> std::optional<FleetHistory> {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return std::nullopt;
        std::string problem;
        auto opened = FleetHistory::open(file, problem);
        if (historyProblem)
            *historyProblem = problem;
        return opened;
    }();
    const RecordedFleet recorded = history ? history->recordedFleet() : RecordedFleet{};
    std::vector<FleetRow> rows;
    for (std::size_t n = 1; n <= table.count(); ++n) {
        auto nodeRows = storedRowsOf(programFolder, table.at(n), history ? &*history : nullptr, recorded);
        rows.insert(rows.end(), std::make_move_iterator(nodeRows.begin()), std::make_move_iterator(nodeRows.end()));
    }
    addChangesOf(recorded, rows);
    return rows;
}

} // namespace vorlu
