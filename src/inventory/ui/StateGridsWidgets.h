#pragma once
#include "inventory/DriveEvaluation.h"

#include <QIcon>
#include <array>
#include <functional>

class QLabel;
class QTableWidget;

namespace vorlu {

// gridgreen, gridamber, gridred and lblgreen, lblamber, lblred of the main
// window. Row 0 of each grid is its header row.
class StateGridsWidgets : public StateGridsView {
public:
    // grids and counters in the order green, amber, red. standardDpi tells the
    // column widths apart; okPicture goes in column 0 of "ok" rows.
    StateGridsWidgets(std::array<QTableWidget*, 3> grids, std::array<QLabel*, 3> counters, QIcon okPicture,
                      std::function<std::optional<bool>()> standardDpi);

    void clearGrids() override;
    void writeHeaders() override;
    void appendRow(StateGrid grid) override;
    void setCell(StateGrid grid, int row, int column, const std::string& text) override;
    void setOkPicture(StateGrid grid, int row) override;
    void setCounters(const std::string& red, const std::string& amber, const std::string& green) override;

private:
    QTableWidget* grid(StateGrid g) const { return grids_[static_cast<std::size_t>(g)]; }
    void writeHeaderRow();

    std::array<QTableWidget*, 3> grids_;
    std::array<QLabel*, 3> counters_;
    QIcon okPicture_;
    std::function<std::optional<bool>()> standardDpi_;
};

} // namespace vorlu
