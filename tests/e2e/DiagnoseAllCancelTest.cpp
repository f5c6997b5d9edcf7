// Diagnose All's Cancel through the real window, on a simulated network whose
// nodes answer only after a minute: the run ends at once and every node keeps
// the files an earlier run left.
#include "e2e/ProgramFixture.h"
#include "nodes/NodeFile.h"
#include "support/FleetTestNetwork.h"

#include <QThread>

namespace vorlu::e2e {
namespace {

using namespace vorlu::test;

constexpr int Nodes = 3;
constexpr int DrivesCaptionX = 324; // centre of the "Drives" caption

class DiagnoseAllCancel : public ProgramFixture {
protected:
    QByteArray network() const override
    {
        std::string computers;
        for (int i = 1; i <= Nodes; ++i)
            computers += (i > 1 ? "," : "") + simComputer(i, simDrive("D:", "OK"), 60000);
        return QByteArray::fromStdString(R"({"localAddress": "10.255.255.254", "computers": [)" + computers + "]}");
    }
};

TEST_F(DiagnoseAllCancel, CancelEndsTheRunAndTheNodesKeepTheirEarlierFiles)
{
    NodeTable table;
    for (int i = 1; i <= Nodes; ++i) {
        table.append(simNode(i));
        QDir().mkpath(data("program/PC" + QString::number(i)));
        writeFile(data("program/PC%1/report").arg(i), "earlier " + QByteArray::number(i));
    }
    ASSERT_TRUE(saveNodeFile(data("program/lg.ini").toStdString(), table, NodeFileForm::Plain));
    startProgram();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    // "Drives", "Diagnose All Nodes": the item above the popup's last, "Fleet View".
    ASSERT_EQ(xdrive({"click", Title, QString::number(DrivesCaptionX), QString::number(MainCaptionY)}), 0);
    ASSERT_EQ(xdrive({"key", "Up", "Up", "Return"}), 0);
    ASSERT_EQ(xdrive({"wait", "Diagnose All Nodes", "60"}), 0) << "the run did not start";
    QThread::msleep(500);
    // Closing the progress window is its Cancel.
    ASSERT_EQ(xdrive({"close", "Diagnose All Nodes"}), 0);
    // Far less than the nodes' minute: the calls under way ended with the Cancel.
    EXPECT_EQ(xdrive({"gone", "Diagnose All Nodes", "15"}), 0) << "the run did not end after Cancel";
    exitThroughMenu();
    if (HasFatalFailure())
        return;
    expectEnded();
    for (int i = 1; i <= Nodes; ++i) {
        EXPECT_EQ(readFile(data("program/PC%1/report").arg(i)), "earlier " + QByteArray::number(i)) << i;
        EXPECT_FALSE(QFileInfo::exists(data("program/PC%1/sen_cd").arg(i))) << i;
    }
}

} // namespace
} // namespace vorlu::e2e
