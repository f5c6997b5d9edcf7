// A node of the demo network built and diagnosed through the command bar's
// popup menus of the real program; then the files it left, and the grids and
// counters the same files give when the node is shown again.
#include "e2e/ProgramFixture.h"

#include "e2e/InProcessWindow.h"

#include <filesystem>
#include <QElapsedTimer>
#include <QLabel>
#include <QTableWidget>
#include <QThread>
#include <QTreeWidget>

namespace vorlu::e2e {
namespace {

// The node with mixed drive states first, this computer second.
const char* const NodeFile = "SRV-ARCHIVE\r\n192.168.1.5\r\nSRV-ARCHIVE\r\nTrue\r\n\r\n\r\nFalse\r\n"
                             "WS-ADMIN\r\n192.168.1.10\r\nWS-ADMIN\r\nTrue\r\n\r\n\r\nFalse\r\n";
const char* const NodeFileAfter = "SRV-ARCHIVE\r\n192.168.1.5\r\nSRV-ARCHIVE\r\nTrue\r\n\r\n\r\nScanned\r\n"
                                  "WS-ADMIN\r\n192.168.1.10\r\nWS-ADMIN\r\nTrue\r\n\r\n\r\nFalse\r\n";

struct ArchiveDrive {
    const char* letter;
    const char* lines; // the eight diagnostics lines
    const char* grid;  // "green", "amber", "red"
    const char* gridText;
};

const ArchiveDrive Archive[] = {
    {"D", "3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue", "green", "OK"},
    {"E", "3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue", "green", "OK"},
    {"F", "4\r\n0\r\nFalse\r\nSeek error rate above threshold\r\n23\r\nPred Fail\r\n\r\nFalse", "red", "Predict Fail"},
    {"G", "3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue", "green", "OK"},
    {"H", "3\r\n0\r\n\r\n\r\n\r\nStarting\r\n\r\nTrue", "green", "Starting"},
    {"I", "19\r\n24\r\n\r\n\r\n\r\nNo Contact\r\n2\r\nFalse", "amber", "No Contact"},
    {"J", "3\r\n0\r\n\r\n\r\n\r\nService\r\n\r\nTrue", "green", "Service"},
    {"K", "4\r\n0\r\nFalse\r\nDrive temperature high\r\n14\r\nStressed\r\n\r\nTrue", "red", "Stressed"},
    {"L", "8\r\n24\r\n\r\n\r\n\r\nLost Comm\r\n2\r\nFalse", "amber", "Lost Communication"},
    {"M", "18\r\n0\r\n\r\n\r\n\r\nStopping\r\n\r\nTrue", "amber", "Stopping"},
    {"N", "10\r\n11\r\nFalse\r\nLaser unit does not respond\r\n31\r\nNonRecover\r\n4\r\nTrue", "red", "Non Recoverable"},
    {"O", "13\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nFalse", "green", "OK"},
};

class DriveScan : public ProgramFixture {
protected:
    QByteArray network() const override { return readFile(QString::fromStdString((std::filesystem::path(VORLU_SOURCE_DIR) / "demo" / "network.json").string())); }

    void waitForFile(const QString& path)
    {
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(path)) {
            ASSERT_LT(clock.elapsed(), WindowTimeoutMs) << path.toStdString() << " was not written";
            QThread::msleep(100);
        }
    }
};

TEST_F(DriveScan, BuildAndDiagnoseASelectedNodeThroughTheMenus)
{
    QDir().mkpath(data("program/SRV-ARCHIVE"));
    QDir().mkpath(data("program/WS-ADMIN"));
    writeFile(data("program/lg.ini"), NodeFile);
    startProgram();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    ASSERT_EQ(xdrive({"click", Title, QString::number(FirstNodeX), QString::number(FirstNodeY)}), 0);

    // "Build selected Computer Optical Drives": the first enabled item for a node that is not this computer.
    nodesMenu(1);
    if (HasFatalFailure())
        return;
    waitForFile(data("program/SRV-ARCHIVE/report"));
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"gone", "Scan List", "60"}), 0) << "the build did not end";

    // "Current Computer Optical Drives Diagnostics Scan".
    nodesMenu(2);
    if (HasFatalFailure())
        return;
    waitForFile(data("program/SRV-ARCHIVE/sen_cd"));
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"gone", "Diagnostic", "60"}), 0) << "the diagnostics did not end";
    exitThroughMenu();
    if (HasFatalFailure())
        return;
    expectEnded();

    std::string report = "CD\r\n12\r\n";
    std::string sen_cd = "12\r\n";
    for (std::size_t k = 0; k < 12; ++k) {
        char bay[32];
        std::snprintf(bay, sizeof bay, "DVD-RAM LIBRARY BAY %02zu", k + 1);
        report += std::string(Archive[k].letter) + ":\r\n" + bay + "\r\n";
        sen_cd += std::string(Archive[k].lines) + "\r\n";
    }
    EXPECT_EQ(readFile(data("program/SRV-ARCHIVE/report")).toStdString(), report + "\r\n");
    EXPECT_EQ(readFile(data("program/SRV-ARCHIVE/sen_cd")).toStdString(), sen_cd + "\r\n");
    EXPECT_EQ(readFile(data("program/lg.ini")).toStdString(), NodeFileAfter);
    EXPECT_FALSE(QFileInfo::exists(data("program/WS-ADMIN/sen_cd")));

    // Shown again from the stored files: a double-click on the node.
    InProcessWindow shown(network().toStdString(), data("program"));
    Frmmain& window = *shown.window;
    auto* tree = window.findChild<QTreeWidget*>("TreeView1");
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    window.nodeTreeDoubleClicked();
    EXPECT_EQ(window.findChild<QLabel*>("lblgreen")->text(), "6");
    EXPECT_EQ(window.findChild<QLabel*>("lblamber")->text(), "3");
    EXPECT_EQ(window.findChild<QLabel*>("lblred")->text(), "3");
    std::map<std::string, std::vector<std::string>> rows;
    for (const char* colour : {"green", "amber", "red"}) {
        auto* grid = window.findChild<QTableWidget*>(QString("grid") + colour);
        ASSERT_TRUE(grid);
        EXPECT_EQ(grid->item(0, 1)->text(), "Sensor");
        for (int r = 1; r < grid->rowCount(); ++r)
            if (grid->item(r, 1) && !grid->item(r, 1)->text().isEmpty())
                rows[colour].push_back((grid->item(r, 1)->text() + "|" + grid->item(r, 2)->text() + "|" +
                                        grid->item(r, 3)->text() + "|" + grid->item(r, 4)->text())
                                           .toStdString());
    }
    std::map<std::string, std::vector<std::string>> expected;
    for (std::size_t k = 0; k < 12; ++k)
        expected[Archive[k].grid].push_back("CD " + std::to_string(k + 1) + "|" + Archive[k].gridText +
                                            "|192.168.1.5|SRV-ARCHIVE");
    EXPECT_EQ(rows, expected);
    auto* hardware = window.findChild<QTreeWidget*>("TrView1");
    ASSERT_EQ(hardware->topLevelItemCount(), 1);
    EXPECT_EQ(hardware->topLevelItem(0)->child(0)->childCount(), 10);
}

// A node without an address is never answered by this computer: the build is
// refused with "no address", the node marked as refused, nothing written.
TEST_F(DriveScan, ANodeWithoutAnAddressIsRefusedNotGivenThisComputersDrives)
{
    QDir().mkpath(data("program/LAPTOP-FIELD"));
    writeFile(data("program/lg.ini"), "LAPTOP-FIELD\r\n\r\nLAPTOP-FIELD\r\nTrue\r\n\r\n\r\nFalse\r\n"
                                      "WS-ADMIN\r\n192.168.1.10\r\nWS-ADMIN\r\nTrue\r\n\r\n\r\nFalse\r\n");
    startProgram();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    ASSERT_EQ(xdrive({"click", Title, QString::number(FirstNodeX), QString::number(FirstNodeY)}), 0);
    nodesMenu(1);
    if (HasFatalFailure())
        return;
    // The refusal leaves the progress window open with its reason; the close box ends the program.
    ASSERT_EQ(xdrive({"wait", "Scan List", "60"}), 0);
    QThread::msleep(1000);
    ASSERT_EQ(xdrive({"close", Title}), 0);
    expectEnded();
    EXPECT_EQ(readFile(data("program/lg.ini")).toStdString(),
              "LAPTOP-FIELD\r\n\r\nLAPTOP-FIELD\r\nTrue\r\n\r\n\r\nAccess denied\r\n"
              "WS-ADMIN\r\n192.168.1.10\r\nWS-ADMIN\r\nTrue\r\n\r\n\r\nFalse\r\n");
    EXPECT_TRUE(QDir(data("program/LAPTOP-FIELD")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace
} // namespace vorlu::e2e
