#pragma once
#include "fleet/FleetRows.h"
#include "nodes/NodeTable.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

// The diagnosis the node's folder holds (sen_cd and report), timed by its
// diagnostics file; nothing when it holds none.
std::optional<NodeOutcome> storedDiagnosis(const std::filesystem::path& programFolder, const NodeRecord& node);

// The fleet as the program folder keeps it, for a fleet view opened without a
// Diagnose All in this session. Per node of the table: a refused node's row by
// the table's "Access denied" mark; else the newer of its stored diagnostics
// (sen_cd and report) and its latest diagnosis in the history; else a row
// saying it was not diagnosed. The history also gives each drive's changes.
// The history is only read, never created; when it cannot be read the rows
// come from the files alone and historyProblem says why.
std::vector<FleetRow> storedFleetRows(const std::filesystem::path& programFolder, const NodeTable& table,
                                      std::string* historyProblem = nullptr);

} // namespace vorlu
