#include "fleet/FleetPrometheus.h"

#include <QDateTime>

#include <set>
#include <tuple>

namespace vorlu {

namespace {

std::string labelValue(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '"')
            out += "\\\"";
        else if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

void header(std::string& out, const char* metric, const char* help)
{
    out += std::string("# HELP ") + metric + " " + help + "\n# TYPE " + metric + " gauge\n";
}

int driveValue(FleetState s)
{
    switch (s) {
    case FleetState::Green:
        return 0;
    case FleetState::Amber:
        return 1;
    case FleetState::Red:
        return 2;
    default:
        return 3;
    }
}

bool isDrive(const FleetRow& r) { return r.state != FleetState::NoDrive && r.state != FleetState::NotReached; }

} // namespace

std::string formatFleetPrometheus(const std::vector<FleetRow>& rows, const std::string& checkTime)
{
    std::string out;
    header(out, "vorlu_optical_drive_state", "State of an optical drive at the last check: 0 green, 1 amber, 2 red, 3 unknown.");
    // A collector refuses a file that repeats a series; node names are not unique by construction.
    std::set<std::tuple<std::string, std::string, std::string>> seenDrives;
    for (const FleetRow& r : rows) {
        if (!isDrive(r) || !seenDrives.emplace(r.nodeName, r.IP, r.drive).second)
            continue;
        out += "vorlu_optical_drive_state{node=\"" + labelValue(r.nodeName) + "\",address=\"" + labelValue(r.IP) +
               "\",drive=\"" + labelValue(r.drive) + "\",name=\"" + labelValue(r.name) + "\",state=\"" +
               stateName(r.state) + "\"} " + std::to_string(driveValue(r.state)) + "\n";
    }

    header(out, "vorlu_optical_node_reached", "Whether the last check reached the node (1) or it was refused or not reached (0).");
    std::set<std::pair<std::string, std::string>> seenNodes;
    for (const FleetRow& r : rows) {
        if (!seenNodes.emplace(r.nodeName, r.IP).second)
            continue;
        const bool reached = r.state != FleetState::NotReached;
        out += "vorlu_optical_node_reached{node=\"" + labelValue(r.nodeName) + "\",address=\"" + labelValue(r.IP) +
               "\"} " + (reached ? "1" : "0") + "\n";
    }

    const FleetCounts c = countFleet(rows);
    header(out, "vorlu_optical_drives", "Optical drives by state at the last check (unknown counts as amber).");
    out += "vorlu_optical_drives{state=\"green\"} " + std::to_string(c.green) + "\n";
    out += "vorlu_optical_drives{state=\"amber\"} " + std::to_string(c.amber) + "\n";
    out += "vorlu_optical_drives{state=\"red\"} " + std::to_string(c.red) + "\n";

    header(out, "vorlu_optical_check_timestamp_seconds", "When the last check ran, in seconds since the epoch.");
    const QDateTime at = QDateTime::fromString(QString::fromStdString(checkTime), Qt::ISODate);
    out += "vorlu_optical_check_timestamp_seconds " +
           std::to_string(at.isValid() ? at.toSecsSinceEpoch() : QDateTime::currentSecsSinceEpoch()) + "\n";
    return out;
}

} // namespace vorlu
