#pragma once
#include <cstddef>
#include <string>

namespace vorlu {

// The Scan List dialog (FrmCon) as the network commands use it. Grid rows are
// numbered from 0, row 0 being the fixed header row.
class ScanListView {
public:
    virtual ~ScanListView() = default;
    virtual void setCaption(const std::string& caption) = 0;
    // Shows the dialog without blocking the main window.
    virtual void showDialog() = 0;
    // lblstatus; written whether or not the dialog is visible.
    virtual void setStatus(const std::string& text) = 0;
    // Empties the text of every cell, header included; the rows stay.
    virtual void clearGridText() = 0;
    // Sets the number of rows of Grid1, header row included: a list shown
    // again never keeps the rows of an earlier, longer one.
    virtual void setGridRowCount(int rows) = 0;
    virtual void setGridCell(int row, int column, const std::string& text) = 0;
    // A shown column has the dialog's designed width; a hidden one none.
    virtual void setGridColumnShown(int column, bool shown) = 0;
    // How far a long step is: "done of total" beside the bar, which fills to match.
    virtual void setProgress(std::size_t done, std::size_t total) = 0;
};

} // namespace vorlu
