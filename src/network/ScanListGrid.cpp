#include "network/ScanListGrid.h"

namespace vorlu {

namespace {
constexpr int GridColumns = 5;
constexpr int ListedColumns = 3;
} // namespace

void prepareNodeList(ScanListView& view, std::size_t nodes)
{
    view.clearGridText();
    view.setGridRowCount(static_cast<int>(nodes) + 1);
    for (int c = 0; c < GridColumns; ++c)
        view.setGridColumnShown(c, c < ListedColumns);
    view.setGridCell(0, 0, "Name");
    view.setGridCell(0, 1, "Node");
    view.setGridCell(0, 2, "IP");
}

} // namespace vorlu
