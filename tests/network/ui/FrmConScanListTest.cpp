#include "network/ui/FrmCon.h"
#include "network/ui/FrmConScanList.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

// The first scan writes a name into the row it appended; on the real dialog
// that is row 2, below the header and the design-time empty row.
TEST(FrmConScanList, DrivesTheDialogWidget)
{
    FrmCon dialog;
    FrmConScanList view(dialog);

    view.setCaption("Scan List");
    view.setStatus("Getting list of nodes on network...");
    const int row = view.appendGridRow();
    view.setGridCell(row, 0, "PC-1");

    EXPECT_EQ(row, 2);
    EXPECT_EQ(dialog.windowTitle(), "Scan List");
    EXPECT_EQ(dialog.status(), "Getting list of nodes on network...");
    EXPECT_EQ(dialog.cell(2, 0), "PC-1");
    view.clearGridText();
    EXPECT_EQ(dialog.cell(2, 0), "");
    EXPECT_EQ(dialog.rowCount(), 3);
}

} // namespace
} // namespace vorlu
