#include "network/ui/FrmCon.h"
#include "platform/ui/Twips.h"

#include "network/ui/GridCells.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vorlu {

FrmCon::FrmCon(QWidget* parent) : QDialog(parent)
{
    setObjectName("FrmCon");
    setWindowTitle("Scan List");
    setModal(false);
    resize(560, 360);

    status_ = new QLabel(this);
    status_->setObjectName("lblstatus");
    status_->setMinimumHeight(22);

    detail_ = new QLabel(this);
    detail_->setObjectName("lbldetail");
    detail_->setWordWrap(true);
    detail_->setStyleSheet("color: #7a2a2a;");
    detail_->hide();

    grid_ = new QTableWidget(2, 5, this);
    grid_->setObjectName("Grid1");
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setStyleSheet("QTableWidget { gridline-color: #c8c8d0; }");

    bar_ = new QLabel(this);
    bar_->setObjectName("PicBar");
    bar_->setFixedHeight(14);
    bar_->setStyleSheet("background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #9ad17a, stop:1 #3f8f2f);"
                        "border-radius: 3px;");
    setBarWidth(0);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Command1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("Command2");
    connect(ok, &QPushButton::clicked, this, [this] {
        if (onOk)
            onOk();
        else
            hide();
    });
    connect(cancel, &QPushButton::clicked, this, &FrmCon::cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    count_ = new QLabel(this);
    count_->setObjectName("lblcount");
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(bar_);
    barRow->addStretch();
    barRow->addWidget(count_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(detail_);
    layout->addWidget(grid_, 1);
    layout->addLayout(barRow);
    layout->addLayout(buttons);
}

void FrmCon::setStatus(const std::string& text) { status_->setText(QString::fromStdString(text)); }

std::string FrmCon::status() const { return status_->text().toStdString(); }

void FrmCon::setDetail(const std::string& text)
{
    detail_->setText(QString::fromStdString(text));
    detail_->setVisible(!text.empty());
}

std::string FrmCon::detail() const { return detail_->text().toStdString(); }

void FrmCon::clearGrid()
{
    for (int r = 0; r < grid_->rowCount(); ++r)
        for (int c = 0; c < grid_->columnCount(); ++c)
            if (auto* item = grid_->item(r, c))
                item->setText(QString());
}

int FrmCon::appendRow()
{
    grid_->insertRow(grid_->rowCount());
    return grid_->rowCount() - 1;
}

void FrmCon::setRowCount(int rows) { grid_->setRowCount(std::max(rows, 1)); }

int FrmCon::rowCount() const { return grid_->rowCount(); }

void FrmCon::setCell(int row, int column, const std::string& text)
{
    if (row < 0 || column < 0 || column >= grid_->columnCount())
        return;
    while (grid_->rowCount() <= row)
        appendRow();
    gridCell(grid_, row, column)->setText(QString::fromStdString(text));
}

std::string FrmCon::cell(int row, int column) const
{
    const auto* item = grid_->item(row, column);
    return item ? item->text().toStdString() : std::string();
}

void FrmCon::setColumnWidthTwips(int column, int twips)
{
    grid_->setColumnWidth(column, Twips{static_cast<double>(logicalDpiX())}.px(twips));
}

void FrmCon::setBarWidth(int pixels)
{
    barWidth_ = pixels;
    bar_->setFixedWidth(pixels);
    bar_->setVisible(pixels > 0);
}

int FrmCon::barWidth() const { return barWidth_; }

void FrmCon::cancel()
{
    hide();
    if (onCancel)
        onCancel();
}

void FrmCon::setProgress(std::size_t done, std::size_t total)
{
    count_->setText(total == 0 ? QString() : QString("%1 of %2").arg(done).arg(total));
    const int full = std::max(grid_->width() - count_->sizeHint().width() - 12, 1);
    setBarWidth(total == 0 ? 0 : static_cast<int>(static_cast<double>(full) * static_cast<double>(std::min(done, total)) / static_cast<double>(total)));
}

std::string FrmCon::progressText() const { return count_->text().toStdString(); }

void FrmCon::closeEvent(QCloseEvent* event)
{
    // The close box acts as OK.
    event->ignore();
    if (onOk)
        onOk();
    else
        hide();
}

void FrmCon::keyPressEvent(QKeyEvent* event)
{
    // Escape would reject and hide the dialog behind OK's back; treat it as Cancel.
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vorlu
