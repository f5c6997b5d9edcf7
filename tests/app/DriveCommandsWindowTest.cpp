// The drive scan commands as the main window runs them: menu items, the
// toolbar, the grids and counters, the reason line, and a close mid-scan.
#include "app/CommandMenus.h"
#include "app/MainWindow.h"
#include "dialogs/Frmlgin.h"
#include "dialogs/LoginBoxes.h"
#include "network/ui/FrmCon.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vorlu;
using Items = CommandMenus::Items;

namespace {

const char* kDrives = R"({"localAddress": "10.0.0.9", "computers": [
  {"name": "ME", "address": "10.0.0.9", "management": {"accounts": [{"user": "", "password": ""}],
   "cdromDrives": [{"Drive": "D:", "Name": "LOCAL DVD", "Availability": 3, "ConfigManagerErrorCode": 0,
                    "Status": "OK", "MediaLoaded": true}]}},
  {"name": "PC-2", "address": "10.0.0.2", "latencyMs": 100,
   "management": {"accounts": [{"user": "admin", "password": "pw-2"}],
   "cdromDrives": [{"Drive": "D:", "Name": "DVD A", "Availability": 3, "ConfigManagerErrorCode": 0, "Status": "OK"},
                   {"Drive": "E:", "Name": "DVD B", "Availability": 10, "ConfigManagerErrorCode": 10, "Status": "Error"}]}}]})";

struct DriveRig {
    QTemporaryDir dir;
    Platform platform;
    RecordingProgramEnd* end = nullptr;
    SceneHooks scene;
    std::unique_ptr<Frmmain> window;

    explicit DriveRig(const std::string& password = "pw-2")
    {
        std::string error;
        installSimulatedNetwork(platform, SimulatedNetwork::parse(kDrives, "net.json", error));
        platform.messages = std::make_unique<ScriptedMessageBoxes>();
        auto e = std::make_unique<RecordingProgramEnd>();
        end = e.get();
        platform.programEnd = std::move(e);
        NodeTable t;
        NodeRecord me = discoveredNode("ME");
        me.IP = "10.0.0.9";
        t.append(me);
        NodeRecord pc = discoveredNode("PC-2");
        pc.IP = "10.0.0.2";
        pc.Login = "admin";
        pc.Password = password;
        t.append(pc);
        writeFileAtomically(folder() / "lg.ini", formatNodeFile(t, NodeFileForm::Plain));
        std::filesystem::create_directory(folder() / "ME");
        std::filesystem::create_directory(folder() / "PC-2");
        window = std::make_unique<Frmmain>(platform, folder(), scene);
        window->loadStep(nullptr);
    }
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    QString text(const char* label) { return window->findChild<QLabel*>(label)->text(); }
    void run(QAction* CommandMenus::Items::*item) { emit (window->menus().item().*item)->triggered(false); }
};

TEST(DriveCommandsWindow, ToolbarAndMenusFillTreeGridsAndCounters)
{
    DriveRig rig;
    rig.window->state().SelectedNode = 2;
    rig.window->image1Clicked(6); // "Scan Current Node"
    EXPECT_TRUE(std::filesystem::exists(rig.folder() / "PC-2" / "report"));
    auto* hw = rig.window->findChild<QTreeWidget*>("TrView1");
    ASSERT_EQ(hw->topLevelItemCount(), 1);
    EXPECT_EQ(hw->topLevelItem(0)->child(0)->childCount(), 2);
    EXPECT_EQ(rig.text("lblmainstatus"), "System built for admin10.0.0.2");
    EXPECT_EQ(rig.window->state().nodes.at(2).Scanned, "Scanned");

    rig.run(&Items::mnucurnddia);
    EXPECT_EQ(rig.text("lblgreen"), "1");
    EXPECT_EQ(rig.text("lblred"), "1");
    auto* red = rig.window->findChild<QTableWidget*>("gridred");
    EXPECT_EQ(red->item(1, 1)->text(), "CD 2");
    EXPECT_EQ(red->item(1, 2)->text(), "Error");
    EXPECT_EQ(red->item(1, 4)->text(), "PC-2");
    EXPECT_FALSE(rig.window->findChild<QTableWidget*>("gridgreen")->item(1, 0)->icon().isNull()) << "ok picture";
    EXPECT_EQ(rig.window->frmCon().windowTitle(), "Diagnostic");

    rig.run(&Items::mnulocaldia);
    EXPECT_EQ(rig.window->state().SelectedNode, 1u);
    EXPECT_EQ(rig.text("lblgreen"), "1");
    EXPECT_EQ(rig.text("lblred"), "0");
    EXPECT_EQ(red->item(1, 1)->text(), "") << "reset keeps the rows but empties them";
    EXPECT_EQ(rig.text("lblmainstatus"), "System scanned for 10.0.0.9");
}

TEST(DriveCommandsWindow, RefusedLoginShowsTheReasonAndNoPassword)
{
    DriveRig rig("wrong-pw");
    rig.window->state().SelectedNode = 2;
    rig.run(&Items::mnuScannode);
    EXPECT_TRUE(rig.window->frmCon().isVisible());
    EXPECT_EQ(rig.window->frmCon().status(), "Access denied to admin10.0.0.2");
    EXPECT_EQ(rig.window->frmCon().detail(), "Access is denied.");
    EXPECT_EQ(rig.text("lblmainstatus"), "Access denied to admin10.0.0.2: Access is denied.");
    EXPECT_EQ(rig.window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(rig.window->state().nodes.at(2).Scanned, "Access denied");
    rig.window->frmCon().hide();
}

TEST(DriveCommandsWindow, ClosingDuringAScanStopsItWithoutAHalfWrittenFile)
{
    DriveRig rig;
    rig.window->state().SelectedNode = 2;
    QTimer::singleShot(30, rig.window.get(), [&] { rig.window->close(); });
    rig.run(&Items::mnuscansp);
    // The close waits for the command, which stops after the call it was waiting for.
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.end->ended(); }, 5000));
    EXPECT_FALSE(std::filesystem::exists(rig.folder() / "PC-2" / "report"));
    for (const auto& f : std::filesystem::directory_iterator(rig.folder() / "PC-2"))
        ADD_FAILURE() << "left behind: " << f.path().filename();
    EXPECT_TRUE(std::filesystem::exists(rig.folder() / "lg.ini"));
}

// The login a user sets through "Set Current Node Login" is the one the next
// connection to that node uses; a node without a login of its own is reached
// with the administrator login.
TEST(DriveCommandsWindow, TheLoginSetInTheDialogIsUsedByTheNextConnection)
{
    DriveRig rig("wrong-pw");
    rig.window->state().SelectedNode = 2;
    rig.run(&Items::mnuscansp);
    ASSERT_EQ(rig.window->frmCon().status(), "Access denied to admin10.0.0.2");
    rig.window->frmCon().hide();

    rig.run(&Items::mnuaddlogin);
    Frmlgin& login = rig.window->loginDialog();
    ASSERT_TRUE(login.isVisible());
    login.boxes().user->setText("admin");
    login.boxes().password->setText("pw-2");
    login.okButton()->click();
    rig.run(&Items::mnuscansp);
    EXPECT_EQ(rig.text("lblmainstatus"), "System built for admin10.0.0.2");
    EXPECT_EQ(rig.window->state().nodes.at(2).Scanned, "Scanned");

    NodeRecord& pc = rig.window->state().nodes.at(2);
    pc.Login.clear();
    pc.Password.clear();
    rig.window->state().settings.AdminUser = "admin";
    rig.window->state().settings.AdminPassword = "pw-2";
    rig.run(&Items::mnuwcurnddia);
    EXPECT_EQ(rig.text("lblmainstatus"), "System scanned for 10.0.0.2") << "the administrator login, shown by IP alone";
    rig.window->state().settings.AdminPassword = "not-it";
    rig.run(&Items::mnuwcurnddia);
    EXPECT_EQ(rig.window->frmCon().status(), "Access denied to 10.0.0.2");
    rig.window->frmCon().hide();
}

} // namespace
