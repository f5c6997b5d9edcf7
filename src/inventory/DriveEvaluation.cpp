#include "inventory/DriveEvaluation.h"

#include "inventory/AnswerBounds.h"
#include "inventory/InventoryReport.h"
#include "inventory/StatusCodes.h"
#include "nodes/TextLines.h"
#include "platform/TextCase.h"

#include <algorithm>

namespace vorlu {

namespace {

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

DriveEvaluation evaluateDiagnostics(const std::string& sen_cd)
{
    DriveEvaluation out;
    LineReader in(sen_cd);
    std::string line;
    if (!in.next(line))
        return out;
    // No more drives than a node's answer keeps, whatever a hand-edited file says.
    const long long n = std::min(countLine(line), static_cast<long long>(MaxKeptDrives));
    for (long long k = 1; k <= n; ++k) {
        std::string availability, configCode, errorCleared, errorDescription, lastErrorCode, status, statusInfo,
            mediaLoaded;
        EvaluatedDrive& e = out.drives.emplace_back();
        DriveStatus& d = e.status;
        // A missing line ends the evaluation; the drives before it stay.
        if (!in.next(availability))
            return out;
        availability = lowerAscii(availability);
        if (const auto a = AvailabilityMessage(availability))
            d.availabilityText = a->message;
        if (!in.next(configCode))
            return out;
        configCode = lowerAscii(configCode);
        if (const auto m = ConfigManagerErrorMessage(configCode))
            d.configManagerErrorText = *m;
        if (!in.next(errorCleared))
            return out;
        d.errorCleared = lowerAscii(errorCleared);
        if (!in.next(errorDescription))
            return out;
        d.errorDescription = lowerAscii(errorDescription);
        if (!in.next(lastErrorCode))
            return out;
        d.lastErrorCode = lowerAscii(lastErrorCode);
        if (!in.next(status))
            return out;
        d.label = "CD " + std::to_string(k);
        d.status = status;
        d.colour = DecideDriveColour(availability, configCode, status);
        if (const auto s = StatusLookup(status)) {
            e.grid = gridOf(s->colour);
            e.gridText = s->gridText;
            e.okPicture = lowerAscii(status) == "ok";
            ++out.totals[static_cast<std::size_t>(*e.grid)];
        }
        if (!in.next(statusInfo))
            return out;
        if (const auto m = StatusInfoMessage(lowerAscii(statusInfo)))
            d.statusInfoText = *m;
        e.painted = true;
        if (!in.next(mediaLoaded))
            return out;
    }
    return out;
}

void presentEvaluation(const DriveEvaluation& evaluation, const DiagnosedNodeInfo& node, DriveResults& results,
                       StateGridsView& grids, DrivePainter& painter)
{
    for (const EvaluatedDrive& e : evaluation.drives) {
        results.table.add() = e.status;
        const std::size_t k = results.table.DriveCount();
        if (e.grid) {
            const auto gi = static_cast<std::size_t>(*e.grid);
            grids.appendRow(*e.grid);
            const int row = ++results.currentRow[gi];
            if (e.okPicture)
                grids.setOkPicture(*e.grid, row);
            grids.setCell(*e.grid, row, 1, e.status.label);
            grids.setCell(*e.grid, row, 2, e.gridText);
            grids.setCell(*e.grid, row, 3, node.IP);
            grids.setCell(*e.grid, row, 4, node.Name);
            ++results.totals[gi];
        }
        const std::string part = DrivePartName(k);
        if (e.painted && !part.empty())
            painter.decide_colour(part, e.status.colour);
    }
}

void ShowDriveCounters(const DriveResults& results, StateGridsView& grids)
{
    grids.setCounters(std::to_string(results.total(StateGrid::Red)), std::to_string(results.total(StateGrid::Amber)),
                      std::to_string(results.total(StateGrid::Green)));
}

} // namespace vorlu
