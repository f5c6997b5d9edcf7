#pragma once
#include "drives/DrivePainter.h"
#include "drives/DriveStatus.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

enum class StateGrid { Green = 0, Amber = 1, Red = 2 };

// The three state grids gridgreen, gridamber, gridred and the counters
// lblgreen, lblamber, lblred. Rows count from 0, the header row.
class StateGridsView {
public:
    virtual ~StateGridsView() = default;
    // Empties every cell of the three grids; the rows stay.
    virtual void clearGrids() = 0;
    // Header row "", "Sensor", "Status", "IP", "Name" and the column widths.
    virtual void writeHeaders() = 0;
    // One more row at the bottom of the grid.
    virtual void appendRow(StateGrid grid) = 0;
    virtual void setCell(StateGrid grid, int row, int column, const std::string& text) = 0;
    // The ok picture in column 0.
    virtual void setOkPicture(StateGrid grid, int row) = 0;
    virtual void setCounters(const std::string& red, const std::string& amber, const std::string& green) = 0;
};

// One drive of a diagnostics file, evaluated: what the detail panel shows,
// and the grid row and the painted part it earns.
struct EvaluatedDrive {
    DriveStatus status;
    // The grid of a drive whose Status is known, its "Status" text, and
    // whether the ok picture goes in front.
    std::optional<StateGrid> grid;
    std::string gridText;
    bool okPicture = false;
    // The file reached the drive's StatusInfo line, so its part is painted.
    bool painted = false;
};

// The evaluated drives of a diagnostics file and the counters.
struct DriveEvaluation {
    std::vector<EvaluatedDrive> drives;
    std::array<long long, 3> totals{}; // by StateGrid
};

// Evaluates the text of a diagnostics file: one drive per drive of the file,
// its messages and colour, its grid row. A file shorter than its count stops
// at the missing line; the drives before it stay, and the drive it cut keeps
// what was read of it.
DriveEvaluation evaluateDiagnostics(const std::string& sen_cd);

// What the evaluation of a node's drives leaves in the window: the drive
// table, the totals and the row each grid writes next.
struct DriveResults {
    DriveStatusTable table;
    std::array<long long, 3> totals{}; // by StateGrid
    std::array<int, 3> currentRow{};   // by StateGrid; 0 is the header row

    long long total(StateGrid g) const { return totals[static_cast<std::size_t>(g)]; }
};

// The node whose diagnostics fill the grids' IP and Name columns.
struct DiagnosedNodeInfo {
    std::string IP;
    std::string Name;
};

// Empties the grids (rows kept), sets the counters to "0", returns the parts
// to their file materials, writes the headers and empties the drive table.
void resetDriveResults(DriveResults& results, StateGridsView& grids, DrivePainter& painter);

// Shows an evaluation: the drive table, a grid row per drive whose Status is
// known, the totals, one part painted per drive.
void presentEvaluation(const DriveEvaluation& evaluation, const DiagnosedNodeInfo& node, DriveResults& results,
                       StateGridsView& grids, DrivePainter& painter);

// Writes the totals into the counters as plain numbers.
void ShowDriveCounters(const DriveResults& results, StateGridsView& grids);

} // namespace vorlu
