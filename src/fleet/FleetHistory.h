#pragma once
#include "fleet/FleetRows.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

inline constexpr const char* HistoryFileName = "history.sqlite";

// One recorded diagnosis of a drive.
struct DriveChange {
    std::string at;
    std::string state;
    std::string statusText;
};

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
    // A drive's diagnoses where its state changed, oldest first (the first one included).
    std::vector<DriveChange> changes(const std::string& node, const std::string& drive) const;
    // Since when the drive has been in its latest state; empty when never recorded.
    std::string since(const std::string& node, const std::string& drive) const;

private:
    explicit FleetHistory(std::string connection) : connection_(std::move(connection)) {}
    std::string connection_;
};

} // namespace vorlu
