#include "fleet/FleetRows.h"

#include "inventory/DriveEvaluation.h"
#include "inventory/InventoryReport.h"
#include "inventory/StatusCodes.h"
#include "platform/TextCase.h"

namespace vorlu {

namespace {

FleetState stateOf(int colour)
{
    switch (colour) {
    case StatusColour::Green: return FleetState::Green;
    case StatusColour::Amber: return FleetState::Amber;
    case StatusColour::Red: return FleetState::Red;
    default: return FleetState::Unknown;
    }
}

} // namespace

const char* stateName(FleetState state)
{
    switch (state) {
    case FleetState::Green: return "green";
    case FleetState::Amber: return "amber";
    case FleetState::Red: return "red";
    case FleetState::Unknown: return "unknown";
    case FleetState::NoDrive: return "no drive";
    case FleetState::NotReached: break;
    }
    return "not reached";
}

FleetState fleetStateNamed(const std::string& name)
{
    for (FleetState s : {FleetState::Green, FleetState::Amber, FleetState::Red, FleetState::Unknown, FleetState::NoDrive})
        if (name == stateName(s))
            return s;
    return FleetState::NotReached;
}

std::vector<FleetRow> fleetRowsOf(const NodeRecord& node, const std::optional<NodeOutcome>& outcome)
{
    if (!outcome)
        return {};
    FleetRow base;
    base.nodeName = node.Name;
    base.IP = node.IP;
    base.lastDiagnosed = outcome->diagnosedAt;
    if (outcome->kind != NodeOutcomeKind::Diagnosed) {
        base.reason = outcome->reason;
        base.statusText = outcome->kind == NodeOutcomeKind::Refused ? "Access denied" : "Not diagnosed";
        return {base};
    }
    const DriveEvaluation evaluation = evaluateDiagnostics(outcome->diagnostics);
    const auto report = parseInventoryReport(outcome->report);
    std::vector<FleetRow> rows;
    for (std::size_t k = 1; k <= evaluation.drives.size(); ++k) {
        const DriveStatus& d = evaluation.drives[k - 1].status;
        FleetRow row = base;
        // The report keeps ten drives; the others are named by their place in the diagnostics.
        if (report && k <= report->drives.size()) {
            row.drive = report->drives[k - 1].drive;
            row.name = report->drives[k - 1].name;
        } else {
            row.drive = "CD " + std::to_string(k);
        }
        row.state = stateOf(d.colour);
        // A status no table knows: the message that decided the colour says why.
        const auto s = StatusLookup(d.status);
        row.statusText = s                                  ? s->gridText
                         : !d.configManagerErrorText.empty() ? d.configManagerErrorText
                         : !d.availabilityText.empty()       ? d.availabilityText
                                                             : d.status;
        rows.push_back(std::move(row));
    }
    if (rows.empty()) {
        base.state = FleetState::NoDrive;
        base.statusText = "No optical drive";
        rows.push_back(base);
    }
    return rows;
}

bool fleetRowMatches(const FleetRow& row, std::optional<FleetState> state, const std::string& text)
{
    if (state && row.state != *state)
        return false;
    if (text.empty())
        return true;
    const std::string wanted = lowerAscii(text);
    for (const std::string* f : {&row.nodeName, &row.IP, &row.drive, &row.name, &row.statusText, &row.reason})
        if (lowerAscii(*f).find(wanted) != std::string::npos)
            return true;
    return false;
}

FleetCounts countFleet(const std::vector<FleetRow>& rows)
{
    FleetCounts c;
    for (const FleetRow& r : rows) {
        if (r.state == FleetState::Green)
            ++c.green;
        else if (r.state == FleetState::Red)
            ++c.red;
        else if (r.state == FleetState::NotReached)
            ++c.notReached;
        else if (r.state != FleetState::NoDrive)
            ++c.amber;
    }
    return c;
}

} // namespace vorlu
