#include "network/ui/FrmConScanList.h"

#include "network/ui/FrmCon.h"

namespace vorlu {

void FrmConScanList::setCaption(const std::string& caption)
{
    dialog_.setWindowTitle(QString::fromStdString(caption));
}

void FrmConScanList::showDialog()
{
    dialog_.show();
    dialog_.raise();
}

void FrmConScanList::setStatus(const std::string& text) { dialog_.setStatus(text); }
void FrmConScanList::clearGridText() { dialog_.clearGrid(); }
void FrmConScanList::setGridRowCount(int rows) { dialog_.setRowCount(rows); }
void FrmConScanList::setGridCell(int row, int column, const std::string& text) { dialog_.setCell(row, column, text); }
void FrmConScanList::setGridColumnShown(int column, bool shown)
{
    constexpr int ColumnTwips = 1600;
    dialog_.setColumnWidthTwips(column, shown ? ColumnTwips : 0);
}
void FrmConScanList::setProgress(std::size_t done, std::size_t total) { dialog_.setProgress(done, total); }

} // namespace vorlu
