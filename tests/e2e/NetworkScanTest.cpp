// The first network scan of the real program: "Network", "Network Scan", OK;
// the program ends with the node list saved and starts itself again, with the
// same arguments, listing it.
#include "e2e/ProgramFixture.h"

#include "e2e/InProcessWindow.h"
#include "app/MainWindow.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidget>

namespace vorlu::e2e {
namespace {

const char* const ThreeComputers = R"({
  "localAddress": "192.168.1.10",
  "computers": [
    {"name": "WS-ADMIN", "address": "192.168.1.10"},
    {"name": "PC-GHOST"},
    {"name": "PC-TWO", "address": "192.168.1.21"}
  ]
})";

// The reset form: label = name, every node listed; the name that could not be
// resolved keeps an empty address.
const char* const ScannedNodeFile = "WS-ADMIN\r\n192.168.1.10\r\nWS-ADMIN\r\nTrue\r\n\r\n\r\nFalse\r\n"
                                    "PC-GHOST\r\n\r\nPC-GHOST\r\nTrue\r\n\r\n\r\nFalse\r\n"
                                    "PC-TWO\r\n192.168.1.21\r\nPC-TWO\r\nTrue\r\n\r\n\r\nFalse\r\n";

class NetworkScan : public ProgramFixture {
protected:
    QByteArray network() const override { return ThreeComputers; }

    // OK refuses while the scan runs, so close (which acts as OK) until the
    // restart message shows.
    void pressOkUntilRestartMessage()
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            runToEnd(xdrivePath(), {"close", "Scan List"}, env_, 10000);
            if (runToEnd(xdrivePath(), {"wait", "Message from Vorlu Optical", "2"}, env_, 10000).exitCode == 0)
                return;
            ASSERT_LT(clock.elapsed(), WindowTimeoutMs) << "no restart message after OK";
        }
    }
};

TEST_F(NetworkScan, OkSavesTheResetListAndTheProgramStartsAgainWithIt)
{
    startProgram();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    ASSERT_EQ(xdrive({"click", Title, QString::number(NetworkCaptionX), QString::number(MainCaptionY)}), 0);
    // "Network Scan" is the first item; "Re-Scan" is disabled without a node file.
    ASSERT_EQ(xdrive({"key", "Down", "Return"}), 0);
    ASSERT_EQ(xdrive({"wait", "Scan List", "60"}), 0) << "the Scan List dialog did not open";
    pressOkUntilRestartMessage();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"close", "Message from Vorlu Optical"}), 0);
    expectEnded();
    EXPECT_EQ(readFile(data("program/lg.ini")).toStdString(), ScannedNodeFile);
    EXPECT_FALSE(QFileInfo::exists(data("program/vrsopt.ini"))) << "the forced end writes no settings";
    for (const char* folder : {"WS-ADMIN", "PC-GHOST", "PC-TWO"})
        EXPECT_TRUE(QFileInfo(data("program/") + folder).isDir()) << folder;

    // The run it started reads the list back from the same folder and writes
    // it unchanged at Exit. It is not this test's child: the window tells
    // when it is there and when it is gone (and the private display ends it
    // at the latest).
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0) << "no second start";
    exitThroughMenu();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"gone", Title, QString::number(EndTimeoutMs / 1000)}), 0);
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(data("program/vrsopt.ini")) && clock.elapsed() < EndTimeoutMs)
        QTest::qWait(100);
    EXPECT_TRUE(QFileInfo::exists(data("program/vrsopt.ini"))) << "the second run ended through its shutdown";
    EXPECT_EQ(readFile(data("program/lg.ini")).toStdString(), ScannedNodeFile);

    // And its node tree lists the three nodes: the same start, looked at from inside.
    InProcessWindow shown(ThreeComputers, data("program"));
    auto* tree = shown.window->findChild<QTreeWidget*>("TreeView1");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(0)->text(0), "WS-ADMIN");
    EXPECT_EQ(root->child(1)->text(0), "PC-GHOST");
    EXPECT_EQ(root->child(2)->text(0), "PC-TWO");
}

} // namespace
} // namespace vorlu::e2e
