#pragma once
#include "fleet/FleetExport.h"
#include "fleet/FleetRows.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace vorlu {

// Every drive of every node: sortable by each column, filterable by state and
// text, the three counters over the whole network, an export, a double-click
// that shows the row's node in the main window, and the changes of the
// selected row's drive below the table.
class FleetViewWindow : public QWidget {
public:
    FleetViewWindow(QWidget* parent, std::string version, std::function<void(const std::string& node)> showNode);

    void setRows(const std::vector<FleetRow>& rows);
    // As a click on the column's header does.
    void sortBy(int column, Qt::SortOrder order);
    // A line below the table, as the export's result is shown.
    void showMessage(const std::string& text);

    QTableWidget& driveTable() { return *table_; }
    QTableWidget& changeTable() { return *changes_; }
    const QLabel& changeCaption() const { return *changesCaption_; }

private:
    void fillTable();
    void applyFilter();
    void exportRows();
    void showChanges();

    std::string version_;
    std::function<void(const std::string&)> showNode_;
    std::vector<FleetRow> rows_;
    QTableWidget* table_;
    QLabel* changesCaption_;
    QTableWidget* changes_;
    QComboBox* state_;
    QLineEdit* text_;
    QLabel* counters_;
    QLabel* message_;
};

} // namespace vorlu
