#include "fleet/ui/FleetViewWindow.h"

#include <QComboBox>
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
    auto* table = view.findChild<QTableWidget*>();
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

} // namespace
} // namespace vorlu
