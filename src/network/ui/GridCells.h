#pragma once
#include <QTableWidget>

namespace vorlu {

// A cell of a grid whose row 0 holds the column headers, made on first use;
// header cells are bold on a shaded ground.
inline QTableWidgetItem* gridCell(QTableWidget* grid, int row, int column)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        if (row == 0) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setBackground(QColor(226, 224, 236));
        }
        grid->setItem(row, column, item);
    }
    return item;
}

} // namespace vorlu
