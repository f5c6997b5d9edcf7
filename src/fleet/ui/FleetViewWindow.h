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
// text, the three counters over the whole network, an export, and a
// double-click that shows the row's node in the main window.
class FleetViewWindow : public QWidget {
public:
    FleetViewWindow(QWidget* parent, std::string version, std::function<void(const std::string& node)> showNode);

    void setRows(const std::vector<FleetRow>& rows);
    // As a click on the column's header does.
    void sortBy(int column, Qt::SortOrder order);

private:
    void applyFilter();
    void exportRows();

    std::string version_;
    std::function<void(const std::string&)> showNode_;
    std::vector<FleetRow> rows_;
    QTableWidget* table_;
    QComboBox* state_;
    QLineEdit* text_;
    QLabel* counters_;
    QLabel* message_;
};

} // namespace vorlu
