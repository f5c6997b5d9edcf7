#pragma once
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
    // Adds one row at the bottom of Grid1 and returns its number.
    virtual int appendGridRow() = 0;
    virtual void setGridCell(int row, int column, const std::string& text) = 0;
    virtual void setGridColumnWidth(int column, int twips) = 0;
};

} // namespace vorlu
