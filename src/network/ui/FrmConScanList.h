#pragma once
#include "network/ScanListView.h"

namespace vorlu {

class FrmCon;

// The Scan List dialog widget seen through the network commands' interface.
class FrmConScanList : public ScanListView {
public:
    explicit FrmConScanList(FrmCon& dialog) : dialog_(dialog) {}
    void setCaption(const std::string& caption) override;
    void showDialog() override;
    void setStatus(const std::string& text) override;
    void clearGridText() override;
    void setGridRowCount(int rows) override;
    void setGridCell(int row, int column, const std::string& text) override;
    void setGridColumnShown(int column, bool shown) override;
    void setProgress(std::size_t done, std::size_t total) override;

private:
    FrmCon& dialog_;
};

} // namespace vorlu
