#include "fleet/ui/FleetViewWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vorlu {

namespace {

constexpr int ColumnCount = 9;
const char* const Headings[ColumnCount] = {"Node",   "IP",     "Drive",         "Name", "State", "Status",
                                           "Last diagnosed", "Reason", "In state since"};
// Wide enough for a node name, an address, a drive model and a timestamp at the default font.
constexpr int ColumnWidths[ColumnCount] = {130, 110, 60, 230, 90, 150, 150, 200, 150};
constexpr int ChangeColumnCount = 4;
const char* const ChangeHeadings[ChangeColumnCount] = {"Time", "From", "To", "Status"};
constexpr int ChangeColumnWidths[ChangeColumnCount] = {170, 100, 100, 300};
constexpr const char* NoSelectionCaption = "Changes: select a drive";
constexpr int NodeRole = Qt::UserRole + 1;
constexpr int RowRole = Qt::UserRole + 2;

QColor colourOf(FleetState s)
{
    switch (s) {
    case FleetState::Green: return {0x88, 0xff, 0x88};
    case FleetState::Amber:
    case FleetState::Unknown: return {0xff, 0xcc, 0x66};
    case FleetState::Red: return {0xff, 0x77, 0x77};
    case FleetState::NotReached: return {0xdd, 0xdd, 0xdd};
    case FleetState::NoDrive: break;
    }
    return Qt::white;
}

// Read-only rows on one line each, selected whole.
template <std::size_t N>
void setUpTable(QTableWidget& table, const char* const (&headings)[N], const int (&widths)[N])
{
    table.setColumnCount(static_cast<int>(N));
    for (int c = 0; c < static_cast<int>(N); ++c) {
        table.setHorizontalHeaderItem(c, new QTableWidgetItem(headings[c]));
        table.setColumnWidth(c, widths[c]);
    }
    table.setWordWrap(false);
    table.verticalHeader()->hide();
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.horizontalHeader()->setStretchLastSection(true);
}

} // namespace

FleetViewWindow::FleetViewWindow(QWidget* parent, std::string version, std::function<void(const std::string&)> showNode)
    : QWidget(parent, Qt::Window), version_(std::move(version)), showNode_(std::move(showNode)),
      table_(new QTableWidget(this)), changesCaption_(new QLabel(NoSelectionCaption, this)),
      changes_(new QTableWidget(this)), state_(new QComboBox(this)), text_(new QLineEdit(this)),
      counters_(new QLabel(this)), message_(new QLabel(this))
{
    setWindowTitle("Fleet View");
    resize(1320, 760);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    state_->addItem("All states", -1);
    for (FleetState s : {FleetState::Green, FleetState::Amber, FleetState::Red, FleetState::Unknown,
                         FleetState::NoDrive, FleetState::NotReached})
        state_->addItem(stateName(s), static_cast<int>(s));
    text_->setPlaceholderText("Filter");
    auto* exportButton = new QPushButton("Export...", this);
    bar->addWidget(state_);
    bar->addWidget(text_, 1);
    bar->addWidget(counters_);
    bar->addWidget(exportButton);
    layout->addLayout(bar);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* changesBox = new QWidget(splitter);
    auto* changesLayout = new QVBoxLayout(changesBox);
    changesLayout->setContentsMargins(0, 0, 0, 0);
    changesLayout->addWidget(changesCaption_);
    changesLayout->addWidget(changes_, 1);
    splitter->addWidget(table_);
    splitter->addWidget(changesBox);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    layout->addWidget(message_);
    setUpTable(*table_, Headings, ColumnWidths);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    setUpTable(*changes_, ChangeHeadings, ChangeColumnWidths);
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { showChanges(); });
    connect(state_, &QComboBox::currentIndexChanged, this, [this] { applyFilter(); });
    connect(text_, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { exportRows(); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (const QTableWidgetItem* item = table_->item(row, 0); item && showNode_)
            showNode_(item->data(NodeRole).toString().toStdString());
    });
}

void FleetViewWindow::setRows(const std::vector<FleetRow>& rows)
{
    rows_ = rows;
    fillTable();
    const FleetCounts c = countFleet(rows);
    counters_->setText(QString("Green %1  Amber %2  Red %3").arg(c.green).arg(c.amber).arg(c.red));
    applyFilter();
    showChanges();
}

void FleetViewWindow::fillTable()
{
    // Items of the rows before name rows_ by place: no selection may be read until all are new.
    const QSignalBlocker quiet(table_);
    table_->clearSelection();
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const FleetRow& r = rows_[i];
        const std::string fields[] = {r.nodeName, r.IP, r.drive, r.name, stateName(r.state), r.statusText,
                                      r.lastDiagnosed, r.reason, r.since};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(fields[c]));
            if (c == 0) {
                item->setData(NodeRole, QString::fromStdString(r.nodeName));
                item->setData(RowRole, static_cast<int>(i));
            }
            if (c == 4)
                item->setBackground(colourOf(r.state));
            table_->setItem(static_cast<int>(i), c, item);
        }
    }
    table_->setSortingEnabled(true);
}

void FleetViewWindow::showMessage(const std::string& text) { message_->setText(QString::fromStdString(text)); }

void FleetViewWindow::showChanges()
{
    changes_->setRowCount(0);
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    const QTableWidgetItem* first = selected.isEmpty() ? nullptr : table_->item(selected.front()->row(), 0);
    if (!first) {
        changesCaption_->setText(NoSelectionCaption);
        return;
    }
    const FleetRow& r = rows_[static_cast<std::size_t>(first->data(RowRole).toInt())];
    const QString what = QString::fromStdString(r.nodeName + (r.drive.empty() ? "" : " " + r.drive));
    changesCaption_->setText(r.changes.empty() ? "No changes recorded for " + what : "Changes of " + what);
    changes_->setRowCount(static_cast<int>(r.changes.size()));
    // Latest first: the change that matters is the one at the top.
    int row = 0;
    for (auto c = r.changes.rbegin(); c != r.changes.rend(); ++c, ++row) {
        const std::string fields[] = {c->at, c->from, c->state, c->statusText};
        for (int col = 0; col < ChangeColumnCount; ++col) {
            auto* item = new QTableWidgetItem(QString::fromStdString(fields[col]));
            if ((col == 1 || col == 2) && !fields[col].empty())
                item->setBackground(colourOf(fleetStateNamed(col == 1 ? c->from : c->state)));
            changes_->setItem(row, col, item);
        }
    }
}

void FleetViewWindow::sortBy(int column, Qt::SortOrder order) { table_->sortByColumn(column, order); }

void FleetViewWindow::applyFilter()
{
    const int chosen = state_->currentData().toInt();
    const std::optional<FleetState> state =
        chosen < 0 ? std::nullopt : std::optional<FleetState>(static_cast<FleetState>(chosen));
    const std::string text = text_->text().toStdString();
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto i = static_cast<std::size_t>(table_->item(row, 0)->data(RowRole).toInt());
        table_->setRowHidden(row, !fleetRowMatches(rows_[i], state, text));
    }
}

void FleetViewWindow::exportRows()
{
    const QString file = QFileDialog::getSaveFileName(this, "Export", "fleet.html",
                                                      "HTML report (*.html);;CSV (*.csv);;JSON (*.json)");
    if (file.isEmpty())
        return;
    const ExportHeader header{QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString(), version_};
    std::string error;
    message_->setText(writeFleetExport(file.toStdString(), rows_, header, &error)
                          ? "Exported to " + file
                          : "Export failed: " + QString::fromStdString(error));
}

} // namespace vorlu
