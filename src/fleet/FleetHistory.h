#pragma once
#include "fleet/FleetRows.h"

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorlu {

inline constexpr const char* HistoryFileName = "history.sqlite";

// What the history holds of the whole fleet, read in two queries however
// long it has been kept.
struct RecordedFleet {
    // By node, then drive: the diagnoses where the drive's state changed,
    // oldest first (the first diagnosis included).
    std::map<std::string, std::map<std::string, std::vector<DriveChange>>> changes;
    // By node: when its latest diagnosis was recorded.
    std::map<std::string, std::string> latestAt;
};

// Each row's changes and since when its drive has been in its state.
void addChangesOf(const RecordedFleet& recorded, std::span<FleetRow> rows);

// Every diagnosis of a drive, kept in an SQLite database. The program starts
// without it: a database that cannot be opened only leaves the history off.
class FleetHistory {
public:
    // Opens the database, creating a missing one. A damaged one, or one of a
    // newer version, is reported and left as it is: nothing and the reason.
    static std::optional<FleetHistory> open(const std::filesystem::path& file, std::string& error);
    ~FleetHistory();
    FleetHistory(FleetHistory&& other) noexcept;
    FleetHistory& operator=(FleetHistory&&) = delete;
    FleetHistory(const FleetHistory&) = delete;
    FleetHistory& operator=(const FleetHistory&) = delete;

    // Records the rows, of a node or of a whole run, in one transaction: a run
    // costs one sync of the database, not one per node. False and a reason on failure.
    bool record(const std::vector<FleetRow>& rows, std::string* error = nullptr);
    // Deletes every diagnosis of the nodes, in one transaction; false and a reason on failure.
    bool forget(const std::vector<std::string>& nodes, std::string* error = nullptr);
    RecordedFleet recordedFleet() const;
    // The rows of the node's latest diagnosis, in the order recorded.
    std::vector<FleetRow> latest(const std::string& node) const;
    // A drive's diagnoses where its state changed, oldest first (the first one included).
    std::vector<DriveChange> changes(const std::string& node, const std::string& drive) const;
    // Since when the drive has been in its latest state; empty when never recorded.
    std::string since(const std::string& node, const std::string& drive) const;

private:
    // The changes of one node, or of all when node is null.
    std::map<std::string, std::map<std::string, std::vector<DriveChange>>> changesWhere(const std::string* node) const;

    explicit FleetHistory(std::string connection) : connection_(std::move(connection)) {}
    std::string connection_;
};

// The history of the program folder without the nodes' diagnoses; true when
// it has none to begin with.
bool forgetHistoryOf(const std::filesystem::path& programFolder, const std::vector<std::string>& nodes,
                     std::string* error);

} // namespace vorlu
