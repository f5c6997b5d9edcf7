#pragma once
#include "inventory/NodeDiagnosis.h"

#include <optional>
#include <string>
#include <vector>

namespace vorlu {

enum class FleetState { Green, Amber, Red, Unknown, NoDrive, NotReached };

// A diagnosis of a drive that found it in another state than the one before:
// when, the state it left (empty for the first one recorded), the state it
// took and the status text then.
struct DriveChange {
    std::string at;
    std::string from;
    std::string state;
    std::string statusText;
};

// One drive of one node, or one row for a node without drives or not reached.
struct FleetRow {
    std::string nodeName;
    std::string IP;
    std::string drive;
    std::string name;
    FleetState state = FleetState::NotReached;
    std::string statusText;
    std::string lastDiagnosed;
    std::string reason;
    // From the history, when it is kept: since when the drive has been in its
    // state, and its changes, oldest first.
    std::string since;
    std::vector<DriveChange> changes;
};

struct FleetCounts {
    long long green = 0;
    long long amber = 0;
    long long red = 0;
    long long notReached = 0;
};

// "green", "amber", "red", "unknown", "no drive", "not reached".
const char* stateName(FleetState state);
// The state of such a name; "not reached" for any other.
FleetState fleetStateNamed(const std::string& name);

// The rows of one node after its diagnosis; nothing when it was not diagnosed.
std::vector<FleetRow> fleetRowsOf(const NodeRecord& node, const std::optional<NodeOutcome>& outcome);

// The fleet view's filter: the state when one is chosen, and the text in any
// column, without regard to case.
bool fleetRowMatches(const FleetRow& row, std::optional<FleetState> state, const std::string& text);

// A drive whose status no table knows counts as amber: it needs a look.
FleetCounts countFleet(const std::vector<FleetRow>& rows);

} // namespace vorlu
