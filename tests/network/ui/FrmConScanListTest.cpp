#include "network/ui/FrmCon.h"
#include "network/ui/FrmConScanList.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

// Rows are set, not appended: a shorter list shown later leaves no rows of
// the longer one behind.
TEST(FrmConScanList, DrivesTheDialogWidget)
{
    FrmCon dialog;
    FrmConScanList view(dialog);

    view.setCaption("Scan List");
    view.setStatus("Getting list of nodes on network...");
    view.setGridRowCount(4);
    view.setGridCell(3, 0, "PC-1");
    EXPECT_EQ(dialog.windowTitle(), "Scan List");
    EXPECT_EQ(dialog.status(), "Getting list of nodes on network...");
    EXPECT_EQ(dialog.cell(3, 0), "PC-1");
    view.clearGridText();
    EXPECT_EQ(dialog.cell(3, 0), "");
    view.setGridRowCount(2);
    EXPECT_EQ(dialog.rowCount(), 2);

    view.setProgress(3, 12);
    EXPECT_EQ(dialog.progressText(), "3 of 12");
    EXPECT_GT(dialog.barWidth(), 0);
    view.setProgress(0, 0);
    EXPECT_EQ(dialog.progressText(), "");
    EXPECT_EQ(dialog.barWidth(), 0);
}

} // namespace
} // namespace vorlu
