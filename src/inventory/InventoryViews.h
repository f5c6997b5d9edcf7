#pragma once
#include <string>

namespace vorlu {

// The progress dialog FrmCon as the drive scans use it.
class ScanProgressView {
public:
    virtual ~ScanProgressView() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void showDialog() = 0;
    virtual void hideDialog() = 0;
    // lblstatus; written whether or not the dialog is visible.
    virtual void setStatus(const std::string& text) = 0;
    // The line under lblstatus that says why a node was refused; empty hides it.
    virtual void setDetail(const std::string& text) = 0;
    // How much of PicBar is filled, from 0 (hidden) to 1 (the full bar).
    virtual void setBarFraction(double filled) = 0;
    virtual void setBusyPointer(bool busy) = 0;
};

// What the drive scans show in the main window besides grids and model.
class InventoryWindowView {
public:
    virtual ~InventoryWindowView() = default;
    virtual void setBusyPointer(bool busy) = 0;
    // The status bar's message line: results, refusals and their reasons.
    virtual void setStatusMessage(const std::string& text) = 0;
};

} // namespace vorlu
