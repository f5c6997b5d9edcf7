#include "inventory/ui/StateGridsWidgets.h"
#include "platform/ui/Twips.h"

#include "inventory/ui/StateGridLayout.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

namespace vorlu {

namespace {
constexpr int Columns = StateGridColumns;
const auto& Headers = StateGridHeaders;

QTableWidgetItem* itemAt(QTableWidget* g, int row, int column)
{
    while (g->rowCount() <= row)
        g->insertRow(g->rowCount());
    QTableWidgetItem* item = g->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        g->setItem(row, column, item);
    }
    return item;
}
} // namespace

StateGridsWidgets::StateGridsWidgets(std::array<QTableWidget*, 3> grids, std::array<QLabel*, 3> counters,
                                     QIcon okPicture, std::function<std::optional<bool>()> standardDpi)
    : grids_(grids), counters_(counters), okPicture_(std::move(okPicture)), standardDpi_(std::move(standardDpi))
{
    // The design state: a header row and one empty row; the start-up writes
    // the headers but leaves the widths to the first reset.
    for (QTableWidget* g : grids_) {
        g->setColumnCount(Columns);
        if (g->rowCount() < 2)
            g->setRowCount(2);
        g->horizontalHeader()->hide();
        g->setSelectionMode(QAbstractItemView::NoSelection);
    }
    writeHeaderRow();
}

void StateGridsWidgets::clearGrids()
{
    for (QTableWidget* g : grids_) {
        for (int r = 0; r < g->rowCount(); ++r)
            for (int c = 0; c < g->columnCount(); ++c)
                if (QTableWidgetItem* item = g->item(r, c)) {
                    item->setText(QString());
                    item->setIcon(QIcon());
                }
    }
}

void StateGridsWidgets::writeHeaderRow()
{
    for (QTableWidget* g : grids_) {
        for (int c = 0; c < Columns; ++c) {
            QTableWidgetItem* item = itemAt(g, 0, c);
            item->setText(Headers[c]);
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setBackground(QColor(226, 224, 236));
        }
    }
}

void StateGridsWidgets::writeHeaders()
{
    if (const std::optional<int> twips = StateGridColumnTwips(standardDpi_ ? standardDpi_() : std::optional<bool>(true)))
        for (QTableWidget* g : grids_)
            for (int c = 0; c < Columns; ++c)
                g->setColumnWidth(c, Twips{static_cast<double>(g->logicalDpiX())}.px(*twips));
    writeHeaderRow();
}

void StateGridsWidgets::appendRow(StateGrid g) { grid(g)->insertRow(grid(g)->rowCount()); }

void StateGridsWidgets::setCell(StateGrid g, int row, int column, const std::string& text)
{
    if (row < 0 || column < 0 || column >= Columns)
        return;
    itemAt(grid(g), row, column)->setText(QString::fromStdString(text));
}

void StateGridsWidgets::setOkPicture(StateGrid g, int row)
{
    if (row >= 0)
        itemAt(grid(g), row, 0)->setIcon(okPicture_);
}

void StateGridsWidgets::setCounters(const std::string& red, const std::string& amber, const std::string& green)
{
    counters_[0]->setText(QString::fromStdString(green));
    counters_[1]->setText(QString::fromStdString(amber));
    counters_[2]->setText(QString::fromStdString(red));
}

} // namespace vorlu
