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

// What the history holds of one node.
struct NodeHistory {
    // The rows of its latest diagnosis, in the order recorded.
    std::vector<FleetRow> latest;
    // Each drive's changes, oldest first (the first diagnosis included).
    std::map<std::string, std::vector<DriveChange>> changes;
};

// Each row's changes and since when its drive has been in its state, from the
// history of the rows' node.
void addChangesOf(const NodeHistory& history, std::span<FleetRow> nodeRows);

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

    // Records the rows of one node in one transaction; false and a reason on failure.
    bool recordNode(const std::vector<FleetRow>& rows, std::string* error = nullptr);
    NodeHistory node(const std::string& node) const;
    // A drive's diagnoses where its state changed, oldest first (the first one included).
    std::vector<DriveChange> changes(const std::string& node, const std::string& drive) const;
    // Since when the drive has been in its latest state; empty when never recorded.
    std::string since(const std::string& node, const std::string& drive) const;
    // Each row's changes and since when its drive has been in its state; one
    // query per node, as the rows come node after node.
    void addChanges(std::vector<FleetRow>& rows) const;

private:
    explicit FleetHistory(std::string connection) : connection_(std::move(connection)) {}
    std::string connection_;
};

} // namespace vorlu
