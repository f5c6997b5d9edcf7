#pragma once
#include "inventory/InventoryViews.h"

class QLabel;
class QWidget;

namespace vorlu {

class FrmCon;

// FrmCon as the drive scans use it; its pointer is its own.
class FrmConProgress : public ScanProgressView {
public:
    explicit FrmConProgress(FrmCon& dialog) : dialog_(dialog) {}
    void setCaption(const std::string& caption) override;
    void showDialog() override;
    void hideDialog() override;
    void setStatus(const std::string& text) override;
    void setDetail(const std::string& text) override;
    void setBarFraction(double filled) override;
    void setBusyPointer(bool busy) override;

private:
    FrmCon& dialog_;
};

// The main window's pointer and its status bar's message line.
class MainWindowInventoryView : public InventoryWindowView {
public:
    MainWindowInventoryView(QWidget& window, QLabel& message) : window_(window), message_(message) {}
    void setBusyPointer(bool busy) override;
    void setStatusMessage(const std::string& text) override;

private:
    QWidget& window_;
    QLabel& message_;
};

} // namespace vorlu
