// A node's login set through "Set Current Node Login" in the real program
// reaches the node file at Exit.
#include "e2e/ProgramFixture.h"

namespace vorlu::e2e {
namespace {

const char* const Network = R"({
  "localAddress": "192.168.1.10",
  "computers": [
    {"name": "WS-ADMIN", "address": "192.168.1.10"},
    {"name": "PC-ONE", "address": "192.168.1.20"}
  ]
})";

const char* const NodeFileIn = "PC-ONE\r\n192.168.1.20\r\nPC-ONE\r\nTrue\r\n\r\n\r\nFalse\r\n";
const char* const NodeFileOut = "PC-ONE\r\n192.168.1.20\r\nPC-ONE\r\nTrue\r\nops\r\nk3y\r\nFalse\r\n";

// The node tree at 96 pixels per inch: the "Network" row, then PC-ONE.
constexpr int NodeX = 8925 / 15 + 60;
constexpr int NodeY = 4815 / 15 + 28;

class NodeLogin : public ProgramFixture {
protected:
    QByteArray network() const override { return Network; }
};

TEST_F(NodeLogin, SetCurrentNodeLoginIsSavedInTheNodeFile)
{
    ASSERT_TRUE(QDir().mkpath(data("program")));
    writeFile(data("program/lg.ini"), NodeFileIn);
    startProgram();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    const QStringList at = {QString::number(NodeX), QString::number(NodeY)};
    ASSERT_EQ(xdrive(QStringList{"click", Title} + at), 0);
    // The right button opens the node menu on the node selected; its first item.
    ASSERT_EQ(xdrive(QStringList{"rclick", Title} + at), 0);
    ASSERT_EQ(xdrive({"key", "Down", "Return"}), 0);
    ASSERT_EQ(xdrive({"wait", "Login", "30"}), 0) << "the login dialog did not open";
    // The dialog opens on its node tree; the boxes follow it.
    ASSERT_EQ(xdrive({"key", "Tab", "o", "p", "s", "Tab", "k", "3", "y", "Return"}), 0);
    ASSERT_EQ(xdrive({"gone", "Login", "30"}), 0) << "OK did not close the login dialog";
    exitThroughMenu();
    if (HasFatalFailure())
        return;
    expectEnded();
    EXPECT_EQ(readFile(data("program/lg.ini")).toStdString(), NodeFileOut);
}

} // namespace
} // namespace vorlu::e2e
