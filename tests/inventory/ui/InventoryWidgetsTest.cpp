// The grid, counter and progress dialog widgets behind the drive scans' views.
#include "inventory/ui/InventoryWidgets.h"
#include "inventory/ui/StateGridsWidgets.h"
#include "network/ui/FrmCon.h"

#include <QLabel>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

struct Grids {
    QTableWidget green, amber, red;
    QLabel lgreen{"0"}, lamber{"0"}, lred{"0"};
    bool standard = true;
    StateGridsWidgets view{{&green, &amber, &red}, {&lgreen, &lamber, &lred}, QIcon(), [this] { return standard; }};
};

TEST(StateGridsWidgets, ResetKeepsRowsAndWritesHeadersAndWidths)
{
    Grids g;
    EXPECT_EQ(g.green.rowCount(), 2);
    EXPECT_EQ(g.green.columnCount(), 5);
    EXPECT_EQ(g.red.item(0, 4)->text(), "Name");
    g.view.appendRow(StateGrid::Green);
    g.view.setCell(StateGrid::Green, 1, 1, "CD 1");
    g.view.setCounters("1", "2", "3");
    EXPECT_EQ(g.lred.text(), "1");
    EXPECT_EQ(g.lamber.text(), "2");
    EXPECT_EQ(g.lgreen.text(), "3");
    g.view.clearGrids();
    g.view.writeHeaders();
    EXPECT_EQ(g.green.rowCount(), 3) << "clearing keeps the rows";
    EXPECT_EQ(g.green.item(1, 1)->text(), "");
    EXPECT_EQ(g.green.item(0, 1)->text(), "Sensor");
    EXPECT_EQ(g.green.columnWidth(0), 3786 * g.green.logicalDpiX() / 1440);
    g.standard = false;
    g.view.writeHeaders();
    EXPECT_EQ(g.amber.columnWidth(4), 2400 * g.amber.logicalDpiX() / 1440);
}

TEST(FrmConProgress, ReasonLineAndPointer)
{
    FrmCon dialog;
    FrmConProgress view(dialog);
    dialog.show();
    view.setDetail("Access is denied.");
    EXPECT_EQ(dialog.detail(), "Access is denied.");
    EXPECT_TRUE(dialog.findChild<QLabel*>("lbldetail")->isVisible());
    view.setDetail("");
    EXPECT_FALSE(dialog.findChild<QLabel*>("lbldetail")->isVisible());
    view.setBusyPointer(true);
    EXPECT_EQ(dialog.cursor().shape(), Qt::WaitCursor);
    view.setBusyPointer(false);
    EXPECT_EQ(dialog.cursor().shape(), Qt::ArrowCursor);
    view.setCaption("Diagnostic");
    EXPECT_EQ(dialog.windowTitle(), "Diagnostic");
    view.hideDialog();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace vorlu
