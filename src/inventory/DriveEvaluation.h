#pragma once
#include "drives/DrivePainter.h"
#include "drives/DriveStatus.h"

#include <array>
#include <string>

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

// What the evaluation of a node's drives leaves: the drive table, the totals
// and the row each grid writes next.
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

// Evaluates the text of a diagnostics file: one DriveStatus per drive, a row
// in the grid of each drive whose Status is known, the totals, and one part
// painted per drive. A file shorter than its count stops at the missing line;
// what was evaluated before stays.
void EvaluateDiagnostics(const std::string& sen_cd, const DiagnosedNodeInfo& node, DriveResults& results,
                         StateGridsView& grids, DrivePainter& painter);

// Writes the totals into the counters as plain numbers.
void ShowDriveCounters(const DriveResults& results, StateGridsView& grids);

} // namespace vorlu
