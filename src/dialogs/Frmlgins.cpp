#include "dialogs/Frmlgins.h"
#include "platform/ui/Twips.h"

#include "dialogs/DialogLook.h"
#include "network/ui/GridCells.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vorlu {

Frmlgins::Frmlgins(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmlgins");
    setWindowTitle("Logins");
    setModal(false);
    applyDialogLook(this);

    grid_ = new QTableWidget(1, Columns, this);
    grid_->setObjectName("Grid1");
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->setStyleSheet("QTableWidget { gridline-color: #c8c8d0; }");
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowClicked(row); });

    auto* form = new QFormLayout;
    boxes_ = std::make_unique<LoginBoxes>(this, form);
    name_ = new QLineEdit(this);
    name_->setObjectName("Text3");
    form->addRow("Name", name_);

    update_ = dialogButton("Command1", "Update", this);
    ok_ = dialogButton("Command2", "OK", this);
    cancel_ = dialogButton("Command3", "Cancel", this);
    connect(update_, &QPushButton::clicked, this, &Frmlgins::updatePressed);
    connect(ok_, &QPushButton::clicked, this, &QDialog::hide);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(form);
    layout->addLayout(buttonRow({update_, ok_, cancel_}));
}

void Frmlgins::clearGrid(int rows)
{
    grid_->clearContents();
    grid_->setRowCount(rows);
    grid_->setCurrentCell(-1, -1);
}

void Frmlgins::setCell(int row, int column, const std::string& text)
{
    if (row < 0 || row >= grid_->rowCount() || column < 0 || column >= Columns)
        return;
    QTableWidgetItem* item = gridCell(grid_, row, column);
    if (row == 0)
        item->setFlags(Qt::ItemIsEnabled); // the headers are not a node to select
    item->setText(QString::fromStdString(text));
}

std::string Frmlgins::cell(int row, int column) const
{
    const auto* item = grid_->item(row, column);
    return item ? item->text().toStdString() : std::string();
}

int Frmlgins::rowCount() const { return grid_->rowCount(); }

void Frmlgins::setColumnWidthTwips(int column, int twips)
{
    grid_->setColumnWidth(column, Twips{static_cast<double>(logicalDpiX())}.px(twips));
    // Wide enough for every column, so a row reads without scrolling.
    int width = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < Columns; ++c)
        width += grid_->columnWidth(c);
    grid_->setMinimumWidth(width);
}

void Frmlgins::closeEvent(QCloseEvent* event)
{
    loaded_ = false;
    QDialog::closeEvent(event);
}

} // namespace vorlu
