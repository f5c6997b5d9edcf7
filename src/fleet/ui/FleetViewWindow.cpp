#include "fleet/ui/FleetViewWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vorlu {

namespace {

const char* const Headings[] = {"Node",           "IP",     "Drive",         "Name", "State", "Status",
                                "Last diagnosed", "Reason", "In state since"};
constexpr int ColumnCount = 9;
// Wide enough for a node name, an address, a drive model and a timestamp at the default font.
constexpr int ColumnWidths[ColumnCount] = {130, 110, 60, 230, 90, 150, 150, 200, 150};
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

} // namespace

FleetViewWindow::FleetViewWindow(QWidget* parent, std::string version, std::function<void(const std::string&)> showNode)
    : QWidget(parent, Qt::Window), version_(std::move(version)), showNode_(std::move(showNode)),
      table_(new QTableWidget(this)), state_(new QComboBox(this)), text_(new QLineEdit(this)),
      counters_(new QLabel(this)), message_(new QLabel(this))
{
    setWindowTitle("Fleet View");
    resize(1320, 640);
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
    layout->addWidget(table_, 1);
    layout->addWidget(message_);
    table_->setColumnCount(ColumnCount);
    for (int c = 0; c < ColumnCount; ++c) {
        table_->setHorizontalHeaderItem(c, new QTableWidgetItem(Headings[c]));
        table_->setColumnWidth(c, ColumnWidths[c]);
    }
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
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
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FleetRow& r = rows[i];
        const std::string fields[] = {r.nodeName, r.IP, r.drive, r.name, stateName(r.state), r.statusText,
                                      r.lastDiagnosed, r.reason, r.since};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(fields[c]));
            if (c == 0) {
                item->setData(NodeRole, QString::fromStdString(r.nodeName));
                item->setData(RowRole, static_cast<int>(i));
            }
            if (c == 4) {
                item->setBackground(colourOf(r.state));
                // The drive's changes, from the history.
                item->setToolTip(QString::fromStdString(r.changes));
            }
            table_->setItem(static_cast<int>(i), c, item);
        }
    }
    table_->setSortingEnabled(true);
    const FleetCounts c = countFleet(rows);
    counters_->setText(QString("Green %1  Amber %2  Red %3").arg(c.green).arg(c.amber).arg(c.red));
    applyFilter();
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
