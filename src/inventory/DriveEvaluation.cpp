#include "inventory/DriveEvaluation.h"

#include "inventory/AnswerBounds.h"
#include "inventory/InventoryReport.h"
#include "inventory/StatusCodes.h"
#include "nodes/TextLines.h"

#include <algorithm>
#include <cctype>

namespace vorlu {

namespace {

std::string lowerCase(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

StateGrid gridOf(int colour)
{
    if (colour == StatusColour::Green)
        return StateGrid::Green;
    return colour == StatusColour::Red ? StateGrid::Red : StateGrid::Amber;
}

} // namespace

void resetDriveResults(DriveResults& results, StateGridsView& grids, DrivePainter& painter)
{
    grids.clearGrids();
    grids.setCounters("0", "0", "0");
    results.totals = {};
    painter.restoreAllParts();
    grids.writeHeaders();
    results.currentRow = {};
    results.table.clear();
}

void EvaluateDiagnostics(const std::string& sen_cd, const DiagnosedNodeInfo& node, DriveResults& results,
                         StateGridsView& grids, DrivePainter& painter)
{
    LineReader in(sen_cd);
    std::string line;
    if (!in.next(line))
        return;
    // No more drives than a node's answer keeps, whatever a hand-edited file says.
    const long long n = std::min(countLine(line), static_cast<long long>(MaxKeptDrives));
    for (long long k = 1; k <= n; ++k) {
        std::string availability, configCode, errorCleared, errorDescription, lastErrorCode, status, statusInfo,
            mediaLoaded;
        DriveStatus& d = results.table.add();
        // A missing line ends the evaluation; the drives before it stay.
        if (!in.next(availability))
            return;
        // Each drive decides its colour afresh.
        int colour = StatusColour::None;
        if (const auto a = AvailabilityMessage(lowerCase(availability))) {
            d.availabilityText = a->message;
            colour = a->colour;
        }
        if (!in.next(configCode))
            return;
        if (const auto m = ConfigManagerErrorMessage(lowerCase(configCode))) {
            d.configManagerErrorText = *m;
            colour = StatusColour::Amber;
        }
        if (!in.next(errorCleared))
            return;
        d.errorCleared = lowerCase(errorCleared);
        if (!in.next(errorDescription))
            return;
        d.errorDescription = lowerCase(errorDescription);
        if (!in.next(lastErrorCode))
            return;
        d.lastErrorCode = lowerCase(lastErrorCode);
        if (!in.next(status))
            return;
        d.label = "CD " + std::to_string(k);
        d.status = status;
        if (const auto s = StatusLookup(status)) {
            colour = s->colour;
            const StateGrid g = gridOf(s->colour);
            const auto gi = static_cast<std::size_t>(g);
            grids.appendRow(g);
            const int row = ++results.currentRow[gi];
            if (lowerCase(status) == "ok")
                grids.setOkPicture(g, row);
            grids.setCell(g, row, 1, d.label);
            grids.setCell(g, row, 2, s->gridText);
            grids.setCell(g, row, 3, node.IP);
            grids.setCell(g, row, 4, node.Name);
            ++results.totals[gi];
        }
        d.colour = colour;
        if (!in.next(statusInfo))
            return;
        if (const auto m = StatusInfoMessage(lowerCase(statusInfo)))
            d.statusInfoText = *m;
        const std::string part = DrivePartName(static_cast<std::size_t>(k));
        if (!part.empty())
            painter.decide_colour(part, colour);
        if (!in.next(mediaLoaded))
            return;
    }
}

void ShowDriveCounters(const DriveResults& results, StateGridsView& grids)
{
    grids.setCounters(std::to_string(results.total(StateGrid::Red)), std::to_string(results.total(StateGrid::Amber)),
                      std::to_string(results.total(StateGrid::Green)));
}

} // namespace vorlu
