#include "fleet/ui/FleetViewWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

FleetRow row(const std::string& node, FleetState state, const std::string& name)
{
    FleetRow r;
    r.nodeName = node;
    r.drive = "D:";
    r.name = name;
    r.state = state;
    return r;
}

int shownRows(QTableWidget& table)
{
    int n = 0;
    for (int r = 0; r < table.rowCount(); ++r)
        n += table.isRowHidden(r) ? 0 : 1;
    return n;
}

TEST(FleetViewWindow, FiltersByStateAndTextAndADoubleClickNamesTheNode)
{
    std::vector<std::string> shown;
    FleetViewWindow view(nullptr, "1.60", [&shown](const std::string& n) { shown.push_back(n); });
    view.setRows({row("PC1", FleetState::Green, "DVD A"), row("PC2", FleetState::Red, "DVD B"),
                  row("PC3", FleetState::Red, "Blu-ray")});
    QTableWidget* table = &view.driveTable();
    auto* state = view.findChild<QComboBox*>();
    auto* text = view.findChild<QLineEdit*>();
    ASSERT_TRUE(table && state && text);
    EXPECT_EQ(shownRows(*table), 3);
    state->setCurrentIndex(state->findText("red"));
    EXPECT_EQ(shownRows(*table), 2);
    text->setText("blu");
    EXPECT_EQ(shownRows(*table), 1);

    view.sortBy(0, Qt::DescendingOrder);
    emit table->cellDoubleClicked(0, 3);
    EXPECT_EQ(shown, (std::vector<std::string>{"PC3"}));
}

TEST(FleetViewWindow, TheSelectedRowListsItsDriveChangesLatestFirst)
{
    FleetViewWindow view(nullptr, "1.60", {});
    FleetRow turned = row("PC1", FleetState::Red, "DVD A");
    turned.changes = {{"2026-12-09T02:00:00Z", "", "green", "OK"}, {"2026-12-10T02:00:00Z", "green", "red", "Error"}};
    view.setRows({row("PC0", FleetState::Green, "DVD Z"), turned});
    QTableWidget& changes = view.changeTable();
    EXPECT_EQ(changes.rowCount(), 0);
    EXPECT_EQ(view.changeCaption().text().toStdString(), "Changes: select a drive");

    view.driveTable().selectRow(1);
    EXPECT_EQ(view.changeCaption().text().toStdString(), "Changes of PC1 D:");
    ASSERT_EQ(changes.rowCount(), 2);
    const QStringList latest{"2026-12-10T02:00:00Z", "green", "red", "Error"};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(changes.item(0, c)->text(), latest[c]) << c;
    EXPECT_EQ(changes.item(1, 2)->text(), "green");

    view.driveTable().selectRow(0);
    EXPECT_EQ(view.changeCaption().text().toStdString(), "No changes recorded for PC0 D:");
    EXPECT_EQ(changes.rowCount(), 0);

    // New rows, fewer than before, while one was selected: the selection and its list go.
    view.sortBy(0, Qt::DescendingOrder);
    view.driveTable().selectRow(0);
    view.setRows({row("PC9", FleetState::Green, "DVD Y")});
    EXPECT_EQ(view.changeCaption().text().toStdString(), "Changes: select a drive");
}

} // namespace
} // namespace vorlu
