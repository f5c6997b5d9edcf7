#include "app/CommandMenus.h"
#include "app/Shortcuts.h"
#include "app/UserGuideWindow.h"
#include "app/MainWindow.h"
#include "app/Pictures.h"
#include "app/TreeWidgetView.h"
#include "platform/ui/Twips.h"
#include "dialogs/AdminCommands.h"
#include "dialogs/FrmConf.h"
#include "dialogs/FrmStats.h"
#include "dialogs/Frmadmin.h"
#include "dialogs/Frmlgin.h"
#include "dialogs/Frmlgins.h"
#include "dialogs/RemotePage.h"
#include "network/ui/FrmCon.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "support/PrintTransport.h"
#include "support/RecordingProgramEnd.h"
#include "support/RecordingWebOpener.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"
#include "support/RecordingProgramRestart.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace vorlu;

namespace {

const char* kNetwork = R"({"localAddress": "10.0.0.9", "computers": [
  {"name": "ME", "address": "10.0.0.9"}, {"name": "PC-2", "address": "10.0.0.2"}]})";

struct Rig {
    QTemporaryDir dir;
    Platform platform;
    ScriptedMessageBoxes* boxes = nullptr;
    RecordingProgramEnd* end = nullptr;
    RecordingWebOpener* web = nullptr;
    RecordingProgramRestart* restart = nullptr;
    SceneHooks scene;
    std::unique_ptr<Frmmain> window;

    explicit Rig(const std::string& nodeFile = {}, bool withNodeFile = true, const char* networkJson = kNetwork)
    {
        std::string error;
        auto network = SimulatedNetwork::parse(networkJson, "net.json", error);
        installSimulatedNetwork(platform, network);
        auto b = std::make_unique<ScriptedMessageBoxes>();
        boxes = b.get();
        platform.messages = std::move(b);
        auto e = std::make_unique<RecordingProgramEnd>();
        end = e.get();
        platform.programEnd = std::move(e);
        auto w = std::make_unique<RecordingWebOpener>();
        web = w.get();
        platform.web = std::move(w);
        auto r = std::make_unique<RecordingProgramRestart>();
        restart = r.get();
        platform.restart = std::move(r);
        if (withNodeFile)
            writeFileAtomically(folder() / "lg.ini", nodeFile);
        window = std::make_unique<Frmmain>(platform, folder(), scene);
        window->loadStep(nullptr);
    }
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    template <class T = QWidget> T* child(const char* name) { return window->findChild<T*>(name); }
};

std::string records()
{
    NodeTable t;
    NodeRecord me = discoveredNode("ME");
    me.IP = "10.0.0.9";
    t.append(me);
    NodeRecord pc = discoveredNode("PC-2");
    pc.IP = "10.0.0.2";
    pc.Node = "Front desk";
    t.append(pc);
    return formatNodeFile(t, NodeFileForm::Plain);
}

} // namespace

TEST(MainWindow, HasEveryControlByName)
{
    Rig rig(records());
    for (const char* name :
         {"Picture1", "Label6(0)", "Label6(1)", "Label6(3)", "Label6(4)", "Label6(5)", "Label6(6)", "Image1(0)",
          "Image1(7)", "Label1", "lbldriveid", "Picture4", "Label6(2)", "Label6(7)", "Label6(8)", "Label6(9)",
          "lblgreen", "lblamber", "lblred", "PicGR", "Picture3", "Picture7", "pic_dial(0)", "Label5", "Label18",
          "TreeView1", "TrView1", "Picture2", "Label2", "Label3", "Label4", "gridgreen", "gridamber", "gridred"})
        EXPECT_NE(rig.child(name), nullptr) << name;
    EXPECT_EQ(rig.window->windowTitle(), "Vorlu Optical");
    EXPECT_EQ(rig.child<QLabel>("Label6(5)")->text(), "Adminisrator");
    EXPECT_EQ(rig.child<QLabel>("lblred")->text(), "0");
    EXPECT_EQ(rig.child("Image1(6)")->toolTip(), "Scan Current Node");
    for (const char* grid : {"gridgreen", "gridamber", "gridred"})
        EXPECT_FALSE(rig.child(grid)->isVisible());
}

TEST(MainWindow, LoadStepFillsTreeAndMenuState)
{
    Rig rig(records());
    EXPECT_EQ(rig.window->state().nodes.count(), 2u);
    EXPECT_EQ(rig.window->state().LocalNode, 1u);
    EXPECT_EQ(rig.window->state().settings.WmiNamespace, "root\\cimv2");
    auto* tree = rig.child<QTreeWidget>("TreeView1");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Network");
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->child(1)->text(0), "Front desk");
    EXPECT_FALSE(rig.window->menus().item().mnunwscan->isEnabled());
    EXPECT_TRUE(rig.window->menus().item().mnuRescan->isEnabled());
    EXPECT_EQ(rig.window->loginDialog().tree()->topLevelItem(0)->childCount(), 1) << "not this computer";

    Rig fresh({}, false);
    EXPECT_FALSE(fresh.child("TreeView1")->isVisible());
    EXPECT_TRUE(fresh.window->menus().item().mnunwscan->isEnabled());
    EXPECT_FALSE(fresh.window->menus().item().mnuRescan->isEnabled());
}

TEST(MainWindow, ExitAndCloseWriteBothFilesAndEnd)
{
    for (bool viaClose : {false, true}) {
        Rig rig(records());
        rig.window->state().settings.AdminUser = "boss";
        if (viaClose)
            rig.window->close();
        else
            rig.window->menus().item().mnuexit->trigger();
        EXPECT_TRUE(rig.end->ended());
        std::string lg, ini;
        ASSERT_TRUE(readWholeFile(rig.folder() / "lg.ini", lg));
        ASSERT_TRUE(readWholeFile(rig.folder() / "vrsopt.ini", ini));
        EXPECT_EQ(lg, records());
        EXPECT_EQ(ini, "boss\r\n\r\n-10\r\n0\r\n0\r\n0\r\n\r\n1\r\nroot\\cimv2\r\nTrue\r\n"
                       "http\r\n5985\r\n1\r\n0\r\n\r\n5000\r\n30000\r\n\r\n\r\n64\r\n0\r\n");
    }
}

TEST(MainWindow, ClickSelectsAndShowsTheNodeInTheStatusBar)
{
    Rig rig(records());
    auto* tree = rig.child<QTreeWidget>("TreeView1");
    QTreeWidgetItem* pc = tree->topLevelItem(0)->child(1);
    tree->setCurrentItem(pc);
    rig.window->nodeTreeClicked();
    EXPECT_EQ(rig.window->state().SelectedNode, 2u);
    EXPECT_EQ(rig.child<QLabel>("Label2")->text(), "Front desk");
    EXPECT_EQ(rig.child<QLabel>("Label3")->text(), "10.0.0.2");
    EXPECT_EQ(rig.child<QLabel>("Label4")->text(), "PC-2");

    tree->setCurrentItem(tree->topLevelItem(0));
    rig.window->nodeTreeClicked();
    EXPECT_EQ(rig.window->state().SelectedNode, 0u);
    EXPECT_EQ(rig.child<QLabel>("Label4")->text(), "PC-2") << "the root keeps the status bar";

    tree->setCurrentItem(pc);
    rig.window->state().flags.AccessDenied = true;
    rig.window->nodeTreeDoubleClicked();
    EXPECT_FALSE(rig.window->state().flags.AccessDenied);
    auto* hw = rig.child<QTreeWidget>("TrView1");
    ASSERT_EQ(hw->topLevelItemCount(), 1);
    EXPECT_EQ(hw->topLevelItem(0)->text(0), "Front desk");
    EXPECT_EQ(hw->topLevelItem(0)->child(0)->text(0), "DVD/CD Drive");
    EXPECT_EQ(rig.window->frmCon().windowTitle(), "Status");
}

TEST(MainWindow, RightPressSelectsTheNodeUnderTheCursorAndNothingOnEmptySpace)
{
    Rig rig(records());
    auto* tree = rig.child<QTreeWidget>("TreeView1");
    QMenu* menu = rig.window->menus().menu().mnunw;
    rig.window->show();
    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    QTreeWidgetItem* me = tree->topLevelItem(0)->child(0);
    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, tree->visualItemRect(me).center());
    EXPECT_EQ(rig.window->state().SelectedNode, 1u);
    EXPECT_EQ(tree->currentItem(), me);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, QPoint(5, tree->viewport()->height() - 5));
    EXPECT_FALSE(menu->isVisible()) << "no menu on empty space";
    EXPECT_EQ(rig.window->state().SelectedNode, 1u);
}

TEST(MainWindow, LegendLabelsSwitchTheView)
{
    Rig rig(records());
    rig.window->show();
    auto colour = [&](const char* name) { return rig.child<QLabel>(name)->palette().color(QPalette::WindowText); };
    rig.window->label6Clicked(7);
    EXPECT_TRUE(rig.child("gridgreen")->isVisible());
    for (const char* hidden : {"PicGR", "Picture3", "TreeView1", "TrView1", "gridamber", "gridred"})
        EXPECT_FALSE(rig.child(hidden)->isVisible()) << hidden;
    EXPECT_EQ(colour("Label6(7)"), QColor(0, 255, 0));
    EXPECT_EQ(colour("Label6(2)"), QColor(Qt::white));
    rig.window->label6Clicked(9);
    EXPECT_TRUE(rig.child("gridred")->isVisible());
    EXPECT_EQ(colour("Label6(9)"), QColor(255, 0, 0));
    EXPECT_EQ(colour("Label6(7)"), QColor(Qt::white));
    rig.window->label6Clicked(2);
    for (const char* shown : {"PicGR", "Picture3", "TreeView1", "TrView1"})
        EXPECT_TRUE(rig.child(shown)->isVisible()) << shown;
    EXPECT_FALSE(rig.child("gridred")->isVisible());
    EXPECT_EQ(colour("Label6(2)"), QColor(192, 192, 255));
}

TEST(MainWindow, NodeMenusFollowTheSelection)
{
    Rig rig(records());
    CommandMenus& m = rig.window->menus();
    rig.window->state().SelectedNode = 1; // this computer
    rig.window->label6Clicked(3);
    m.menu().Mnunodes->hide();
    EXPECT_TRUE(m.item().mnuslpc->isEnabled());
    EXPECT_TRUE(m.item().mnuelocaldia->isEnabled());
    EXPECT_FALSE(m.item().mnuscansp->isEnabled());
    rig.window->state().SelectedNode = 2;
    rig.window->label6Clicked(3);
    m.menu().Mnunodes->hide();
    EXPECT_FALSE(m.item().mnuslpc->isEnabled());
    EXPECT_FALSE(m.item().mnuelocaldia->isEnabled());
    EXPECT_TRUE(m.item().mnuscansp->isEnabled());
    EXPECT_FALSE(m.item().mnuscanlocal->isEnabled());
    EXPECT_EQ(m.item().mnuscanlocal->text(), "Build Local  Optical Drives");
    EXPECT_TRUE(m.item().mnuRacks->isChecked());
}

TEST(MainWindow, StandardDpiCheck)
{
    EXPECT_TRUE(isStandardDpi(96, 1.0));
    EXPECT_TRUE(isStandardDpi(105, 1.0));
    EXPECT_FALSE(isStandardDpi(120, 1.0));
    EXPECT_FALSE(isStandardDpi(96, 1.25)) << "a 120 dpi screen as Qt scales it";
    EXPECT_FALSE(isStandardDpi(96, 2.0));
}

TEST(MainWindow, LargeFontLayout)
{
    Rig rig(records());
    rig.window->applyLargeFontLayout();
    const Twips t{static_cast<double>(rig.window->logicalDpiX())};
    EXPECT_EQ(rig.window->width(), t.px(12288));
    EXPECT_EQ(rig.window->height(), t.px(8520 + 375)) << "9216 with its frame; the client ends with the status bar";
    EXPECT_EQ(rig.child("PicGR")->geometry(), t.rect(60, 650, 4500, 7870));
    EXPECT_EQ(rig.child("TrView1")->geometry(), t.rect(8160, 4812, 4128, 4320));
    EXPECT_EQ(rig.child("lblred")->y(), t.px(-36));
}

TEST(MainWindow, AboutAndSupport)
{
    Rig rig(records());
    rig.window->menus().item().mnuabt->trigger();
    auto* about = rig.window->findChild<QWidget*>("Frmabt");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "About Vorlu Optical");
    about->close();
    EXPECT_NE(rig.window->findChild<QWidget*>("Frmabt"), nullptr) << "closing only hides it";
    rig.window->menus().item().mnuUG->trigger();
    ASSERT_EQ(rig.web->urls().size(), 1u);
    EXPECT_NE(rig.web->urls()[0].find("user-guide.html"), std::string::npos);
    EXPECT_EQ(rig.window->findChild<UserGuideWindow*>(), nullptr) << "the browser took it";

    // Without a browser the guide opens in a window of the program's own.
    rig.web->setOpens(false);
    rig.window->menus().item().mnuUG->trigger();
    auto* guide = rig.window->findChild<UserGuideWindow*>();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
}

// Every binding of the keyboard table, pressed on the window.
TEST(MainWindow, KeyboardTable)
{
    Rig rig(records());
    rig.window->show();
    rig.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
    CommandMenus& m = rig.window->menus();
    struct Case {
        const char* keys;
        QMenu* menu;
    };
    const CommandMenus::Menus& menus = m.menu();
    for (const Case& c : {Case{"F10", menus.mnumain}, Case{"Alt+M", menus.mnumain}, Case{"Alt+N", menus.mnuscan},
                          Case{"Alt+O", menus.Mnunodes}, Case{"Alt+D", menus.mnuPC}, Case{"Alt+A", menus.mnuadm},
                          Case{"Alt+C", menus.mnuconfigure}}) {
        QTest::keySequence(rig.window.get(), QKeySequence(c.keys));
        EXPECT_TRUE(c.menu->isVisible()) << c.keys;
        c.menu->hide();
    }
    for (int label : {0, 1, 3, 4, 5, 6})
        EXPECT_FALSE(rig.child(QString("Label6(%1)").arg(label).toLatin1().constData())->toolTip().isEmpty());
    // Each icon is what the mouse is over at its centre, so its tip shows there.
    for (int image = 0; image < 8; ++image) {
        QWidget* icon = rig.child(QString("Image1(%1)").arg(image).toLatin1().constData());
        const QPoint centre = icon->rect().center();
        EXPECT_EQ(rig.window->childAt(icon->mapTo(rig.window.get(), centre)), icon) << image;
        EXPECT_FALSE(icon->toolTip().isEmpty());
    }

    QTest::keySequence(rig.window.get(), QKeySequence("F1"));
    EXPECT_EQ(rig.web->urls().size(), 1u);

    // F5 runs Re-Scan only while it is enabled.
    m.item().mnuRescan->setEnabled(false);
    QTest::keySequence(rig.window.get(), QKeySequence("F5"));
    EXPECT_FALSE(rig.window->frmCon().isVisible());
    m.item().mnuRescan->setEnabled(true);
    QTest::keySequence(rig.window.get(), QKeySequence("F5"));
    EXPECT_TRUE(rig.window->frmCon().isVisible());
    EXPECT_EQ(rig.window->frmCon().windowTitle(), "Scan List");
    rig.window->frmCon().hide();
    rig.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));

    // The arrow keys select as a click does; Return acts as a double-click.
    auto* tree = rig.child<QTreeWidget>("TreeView1");
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(rig.window->state().SelectedNode, 2u);
    EXPECT_EQ(rig.child<QLabel>("Label3")->text(), "10.0.0.2");
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(rig.child<QTreeWidget>("TrView1")->topLevelItem(0)->text(0), "Front desk");

    // Tab goes from the node tree to the hardware tree, the view and the panel.
    std::vector<std::string> chain;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        chain.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(chain, (std::vector<std::string>{"TrView1", "PicGR", "Picture3"}));

    QTest::keySequence(rig.window.get(), QKeySequence("Ctrl+Q"));
    EXPECT_TRUE(rig.end->ended()) << "Ctrl+Q exits through the shutdown";
    EXPECT_TRUE(std::filesystem::exists(rig.folder() / "vrsopt.ini"));
}

TEST(MainWindow, ScanListOkAfterAScanSavesTheResetFormAndEnds)
{
    Rig rig(records());
    rig.window->state().nodes.at(2).Enabled = "False";
    rig.window->state().flags.NetworkListBuilt = true;
    rig.window->frmCon().show();
    rig.window->frmCon().close(); // the close box acts as OK
    EXPECT_EQ(rig.restart->calls(), 1) << "the program starts itself again";
    EXPECT_TRUE(rig.window->endingProgram());
    ASSERT_EQ(rig.boxes->boxes().size(), 1u);
    EXPECT_EQ(rig.boxes->boxes()[0].text, "Restart program to make network changes... ");
    std::string lg;
    ASSERT_TRUE(readWholeFile(rig.folder() / "lg.ini", lg));
    EXPECT_EQ(lg, formatNodeFile(rig.window->state().nodes, NodeFileForm::Reset));
    EXPECT_FALSE(std::filesystem::exists(rig.folder() / "vrsopt.ini")) << "settings are not written";
}

TEST(MainWindow, ExitAndCloseDuringASlowScanRefuseUntilItEnds)
{
    const char* slow = R"({"localAddress": "10.0.0.9", "computers": [
      {"name": "ME", "address": "10.0.0.9", "latencyMs": 400}, {"name": "PC-2", "address": "10.0.0.2", "latencyMs": 400}]})";
    Rig rig({}, false, slow);
    bool triedDuringScan = false;
    QTimer::singleShot(100, rig.window.get(), [&] {
        triedDuringScan = true;
        rig.window->menus().item().mnuexit->trigger();
        rig.window->close();
        EXPECT_FALSE(rig.end->ended());
        EXPECT_FALSE(rig.window->endingProgram());
        EXPECT_EQ(rig.window->frmCon().status(), CommandGate::busyText);
        EXPECT_FALSE(std::filesystem::exists(rig.folder() / "lg.ini")) << "no half-built table is saved";
    });
    rig.window->menus().item().mnunwscan->trigger(); // runs until the scan has ended
    ASSERT_TRUE(triedDuringScan) << "the scan ended before Exit was tried";
    ASSERT_EQ(rig.window->state().nodes.count(), 2u);

    rig.window->menus().item().mnuexit->trigger();
    EXPECT_TRUE(rig.end->ended());
    std::string lg;
    ASSERT_TRUE(readWholeFile(rig.folder() / "lg.ini", lg));
    EXPECT_EQ(lg, formatNodeFile(rig.window->state().nodes, NodeFileForm::Plain)) << "the finished table";
}

TEST(MainWindow, AFileThatCannotBeReadIsReportedAndKept)
{
    // A pipe in place of the node file and a folder in place of the settings: neither can be
    // read, and at exit neither may be replaced by the empty table or the defaults.
    Rig rig({}, false);
    rig.window.reset();
    ASSERT_EQ(::mkfifo((rig.folder() / "lg.ini").c_str(), 0600), 0);
    std::filesystem::create_directory(rig.folder() / "vrsopt.ini");
    rig.boxes->clear();
    rig.window = std::make_unique<Frmmain>(rig.platform, rig.folder(), rig.scene);
    rig.window->loadStep(nullptr);
    const auto boxes = rig.boxes->boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Unable to load: cannot read " + (rig.folder() / "vrsopt.ini").string() +
                                 ": not a regular file");
    EXPECT_EQ(boxes[1].text, "Unable to load: cannot read " + (rig.folder() / "lg.ini").string() +
                                 ": not a regular file");
    EXPECT_EQ(rig.window->state().nodes.count(), 0u);

    rig.window->menus().item().mnuexit->trigger();
    EXPECT_TRUE(rig.end->ended());
    EXPECT_EQ(rig.boxes->boxes().size(), 2u) << "nothing more to report: neither file is written";
    EXPECT_EQ(std::filesystem::status(rig.folder() / "lg.ini").type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(std::filesystem::is_directory(rig.folder() / "vrsopt.ini"));
}

TEST(MainWindow, TheTransportListenerHearsTheSettingsFileAndTheDialog)
{
    Rig rig(records());
    rig.window.reset();
    ASSERT_TRUE(writeFileAtomically(rig.folder() / "vrsopt.ini",
                                    "\r\n\r\n-10\r\n0\r\n0\r\n0\r\n\r\n1\r\nroot\\cimv2\r\nTrue\r\nhttps\r\n"));
    std::vector<RemoteTransport> heard;
    rig.window = std::make_unique<Frmmain>(rig.platform, rig.folder(), rig.scene);
    rig.window->setTransportListener([&](const RemoteTransport& t) { heard.push_back(t); });
    rig.window->loadStep(nullptr);
    ASSERT_FALSE(heard.empty());
    EXPECT_TRUE(heard.back().https);
    EXPECT_EQ(heard.back().port, 5986);

    rig.window->menus().item().mnusettings->trigger();
    rig.window->adminCommands().settingsDialog().remotePage()->httpButton()->click();
    EXPECT_FALSE(heard.back().https);
    EXPECT_EQ(heard.back(), rig.window->state().settings.transport);
}

TEST(MainWindow, AFileThatCannotBeWrittenIsReportedAtExit)
{
    Rig rig(records());
    // A folder where the settings file should go: no rename can replace it, even as root.
    std::filesystem::create_directory(rig.folder() / "vrsopt.ini");
    rig.window->menus().item().mnuexit->trigger();
    EXPECT_TRUE(rig.end->ended());
    ASSERT_EQ(rig.boxes->boxes().size(), 1u);
    EXPECT_NE(rig.boxes->boxes()[0].text.find("vrsopt.ini"), std::string::npos);
    std::string lg;
    ASSERT_TRUE(readWholeFile(rig.folder() / "lg.ini", lg));
    EXPECT_EQ(lg, records()) << "the node file is still written";
}

TEST(MainWindow, AdministrationItemsOpenTheirDialogsAndTheChangesReachTheFiles)
{
    Rig rig(records());
    AdminCommands& admin = rig.window->adminCommands();
    rig.window->menus().item().mnusettings->trigger();
    FrmConf& conf = admin.settingsDialog();
    EXPECT_TRUE(conf.isVisible());
    conf.labelBox(0)->click();
    EXPECT_EQ(rig.window->state().settings.NodeLabelMode, "IP");

    // Set Current Node Login on the selected node: the login is in the table and the tree shows "pw".
    rig.window->state().SelectedNode = 2;
    rig.window->menus().item().mnuaddlogin->trigger();
    Frmlgin& login = rig.window->loginDialog();
    ASSERT_TRUE(login.isVisible());
    login.boxes().user->setText("ops");
    login.boxes().password->setText("pw9");
    login.okButton()->click();
    EXPECT_EQ(rig.window->state().nodes.at(2).Login, "ops");
    const QTreeWidgetItem* entry = rig.child<QTreeWidget>("TreeView1")->topLevelItem(0)->child(1);
    EXPECT_EQ(entry->icon(0).pixmap(16).toImage(), pictures::treeIcon("pw").pixmap(16).toImage());

    rig.window->menus().item().mnusap->trigger();
    ASSERT_NE(admin.adminDialog(), nullptr);
    EXPECT_TRUE(admin.adminDialog()->isVisible());
    rig.window->menus().item().mnulog->trigger();
    EXPECT_TRUE(admin.loginsList().isVisible());
    EXPECT_EQ(admin.loginsList().cell(2, 3), "ops");
    rig.window->menus().item().mnustats->trigger();
    ASSERT_NE(admin.statisticsDialog(), nullptr);
    EXPECT_EQ(admin.statisticsDialog()->nodesValue(), " 2");

    rig.window->menus().item().mnuexit->trigger();
    std::string lg, ini;
    ASSERT_TRUE(readWholeFile(rig.folder() / "lg.ini", lg));
    ASSERT_TRUE(readWholeFile(rig.folder() / "vrsopt.ini", ini));
    EXPECT_NE(lg.find("PC-2\r\n10.0.0.2\r\nFront desk\r\nTrue\r\nops\r\npw9\r\n"), std::string::npos) << lg;
    EXPECT_EQ(ini, "\r\n\r\n-10\r\n0\r\n0\r\n0\r\nIP\r\n1\r\nroot\\cimv2\r\nTrue\r\n"
                   "http\r\n5985\r\n1\r\n0\r\n\r\n5000\r\n30000\r\n\r\n\r\n64\r\n0\r\n");
}

TEST(MainWindow, ResetOfTheSettingsDialogRestartsWithoutWritingEitherFile)
{
    Rig rig(records());
    rig.window->state().settings.AdminUser = "changed";
    rig.boxes->answer({true});
    rig.window->adminCommands().settingsDialog().resetButton()->click();
    EXPECT_EQ(rig.restart->calls(), 1) << "the program starts itself again";
    EXPECT_TRUE(rig.window->endingProgram());
    EXPECT_FALSE(std::filesystem::exists(rig.folder() / "lg.ini"));
    // A close arriving after the end must not save anything either.
    rig.window->close();
    EXPECT_FALSE(std::filesystem::exists(rig.folder() / "lg.ini"));
    EXPECT_FALSE(std::filesystem::exists(rig.folder() / "vrsopt.ini"));
    EXPECT_EQ(rig.restart->calls(), 1);
    EXPECT_FALSE(rig.end->ended());
}

// At its designed size every control stands at its twips position; larger or
// smaller, the work area's controls share the window without overlapping or
// leaving it, the bars stay at the top and the bottom.
TEST(MainWindow, LayoutAtTheDesignedSizeAndResized)
{
    Rig rig(records());
    rig.window->show();
    const Twips t{static_cast<double>(rig.window->logicalDpiX())};
    // A small test screen has had the window fitted to it; at the designed size the design comes back.
    rig.window->resize(t.px(19260), t.px(12135));
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.window->size(), QSize(t.px(19260), t.px(12135)));
    struct Designed {
        const char* name;
        QRect rect;
    };
    for (const Designed& d : {Designed{"PicGR", t.rect(60, 825, 8835, 10905)},
                              Designed{"Picture3", t.rect(8925, 825, 10210, 3975)},
                              Designed{"TreeView1", t.rect(8925, 4815, 5085, 6915)},
                              Designed{"TrView1", t.rect(14040, 4815, 5100, 6915)},
                              Designed{"gridgreen", t.rect(105, 840, 18930, 10815)},
                              Designed{"Picture2", QRect(0, t.px(11760), t.px(19260), t.px(375))},
                              Designed{"Image1(7)", t.rect(7890, 45, 375, 285)}})
        EXPECT_EQ(rig.child(d.name)->geometry(), d.rect) << d.name;

    const char* work[] = {"PicGR", "Picture3", "TreeView1", "TrView1"};
    for (const QSize size : {QSize(900, 600), QSize(1600, 1000), QSize(700, 900)}) {
        rig.window->resize(size);
        QCoreApplication::processEvents();
        const QSize client = rig.window->size();
        ASSERT_GE(client.width(), size.width() - 1) << "the window takes the size asked for";
        const QRect inside(QPoint(0, 0), client);
        const QRect status = rig.child("Picture2")->geometry();
        EXPECT_EQ(status.bottom(), inside.bottom()) << "status bar at the bottom";
        EXPECT_EQ(status.width(), client.width());
        EXPECT_EQ(rig.child("Picture1")->geometry(), QRect(0, 0, client.width(), t.px(375)));
        for (const char* name : work) {
            const QRect r = rig.child(name)->geometry();
            EXPECT_TRUE(inside.contains(r)) << name << " leaves " << size.width() << "x" << size.height();
            EXPECT_FALSE(r.intersects(status)) << name << " under the status bar";
            EXPECT_GT(r.height(), 40) << name;
            for (const char* other : work) {
                if (other != name) {
                    EXPECT_FALSE(r.intersects(rig.child(other)->geometry())) << name << " / " << other;
                }
            }
        }
        EXPECT_TRUE(inside.contains(rig.child("gridgreen")->geometry()));
    }
    rig.window->resize(t.px(19260), t.px(12135));
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.child("TrView1")->geometry(), t.rect(14040, 4815, 5100, 6915)) << "back at the designed size";

    // At its smallest the window still shows every counter and the whole detail panel: the dial, the state
    // word and every field. Qt scaled by 2 on a 1920 x 1080 screen leaves 960 x 540, a title bar included.
    rig.window->resize(1, 1);
    QCoreApplication::processEvents();
    const QSize least = rig.window->size();
    EXPECT_EQ(least, rig.window->minimumSize());
    if (rig.window->logicalDpiX() == 96) {
        EXPECT_TRUE(least.width() <= 960 && least.height() <= 500) << least.width() << "x" << least.height();
    }
    const QRect inside(QPoint(0, 0), least);
    for (const char* counter : {"lblgreen", "lblamber", "lblred"}) {
        QWidget* c = rig.child(counter);
        EXPECT_TRUE(inside.contains(QRect(c->mapTo(rig.window.get(), QPoint(0, 0)), c->size()))) << counter;
    }
    QWidget* panel = rig.child("Picture3");
    EXPECT_EQ(panel->size(), t.rect(8925, 825, 10210, 3975).size());
    EXPECT_TRUE(inside.contains(panel->geometry()));
    for (const char* field : {"pic_dial(0)", "Label18", "Label5", "lblstatusmsg", "Label15", "Label16", "Label11",
                              "Label13", "Label9"}) {
        QWidget* f = rig.child(field);
        EXPECT_TRUE(panel->rect().contains(QRect(f->mapTo(panel, QPoint(0, 0)), f->size()))) << field;
    }
}

// The window's size and place come back at the next start, from a file of
// their own; the settings file keeps its ten lines and the seven of the transport.
TEST(MainWindow, RemembersItsGeometry)
{
    QSize size;
    std::filesystem::path folder;
    QTemporaryDir keep;
    {
        Rig rig(records());
        rig.window->show();
        rig.window->resize(1000, 700);
        QCoreApplication::processEvents();
        size = rig.window->size();
        rig.window->shutdown();
        std::filesystem::copy(rig.folder(), keep.path().toStdString(), std::filesystem::copy_options::recursive);
        folder = keep.path().toStdString();
    }
    std::string settings;
    ASSERT_TRUE(readWholeFile(folder / "vrsopt.ini", settings));
    EXPECT_EQ(std::count(settings.begin(), settings.end(), '\n'), 21);
    ASSERT_TRUE(std::filesystem::exists(folder / "window.ini"));

    Platform platform;
    std::string error;
    installSimulatedNetwork(platform, SimulatedNetwork::parse(kNetwork, "net.json", error));
    platform.messages = std::make_unique<ScriptedMessageBoxes>();
    platform.programEnd = std::make_unique<RecordingProgramEnd>();
    SceneHooks scene;
    Frmmain again(platform, folder, scene);
    again.loadStep(nullptr);
    EXPECT_EQ(again.size(), size);
}
