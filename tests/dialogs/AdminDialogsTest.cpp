// The administration dialogs driven as a user does, on their commands, with
// the main window's state stood in for.
#include "dialogs/AdminCommands.h"
#include "support/CountingPace.h"
#include "dialogs/FrmConf.h"
#include "dialogs/FrmStats.h"
#include "dialogs/Frmadmin.h"
#include "dialogs/Frmlgin.h"
#include "dialogs/Frmlgins.h"
#include "dialogs/RemotePage.h"
#include "nodes/AtomicFile.h"
#include "platform/SharedTransport.h"
#include "support/PrintTransport.h"
#include "support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

struct Rig {
    QTemporaryDir dir;
    NodeTable nodes;
    Settings settings;
    std::size_t selected = 0;
    ScriptedMessageBoxes boxes;
    std::vector<std::size_t> marked;
    int ended = 0;
    std::vector<std::string> forgotten; // the nodes whose drive history was deleted
    SharedTransport transport; // as the program hands it to the connections
    SharedAdminLogin adminLogin; // as the program hands it to the Network Scan
    QWidget owner;
    test::CountingPace pace;
    std::unique_ptr<AdminCommands> admin;
    std::vector<bool> keyringAsked; // each move of the passwords the keyring box asked for
    bool keyringRefuses = false;

    explicit Rig(std::size_t count = 3)
    {
        for (std::size_t i = 1; i <= count; ++i) {
            NodeRecord r = discoveredNode("PC-" + std::to_string(i));
            r.IP = "10.0.0." + std::to_string(i);
            r.Node = "Desk " + std::to_string(i);
            nodes.append(r);
        }
        AdminContext ctx{nodes,
                         settings,
                         selected,
                         dir.path().toStdString(),
                         boxes,
                         [this](std::size_t n) { marked.push_back(n); },
                         [this](std::size_t n) { return loginEntry(n); },
                         [this] { ++ended; },
                         [this](const RemoteTransport& t) { transport.publish(t); },
                         [this](const std::vector<std::string>& names, std::string*) {
                             forgotten = names;
                             return true;
                         },
                         [this](bool on) {
                             keyringAsked.push_back(on);
                             return keyringRefuses ? !on : on;
                         },
                         [this](const AdminLogin& login) { adminLogin.publish(login); }};
        admin = std::make_unique<AdminCommands>(std::move(ctx), pace, &owner);
        // The login dialog's tree as the node file fills it: one entry per node.
        auto* root = new QTreeWidgetItem(admin->loginDialog().tree(), {"Network"});
        for (std::size_t i = 1; i <= count; ++i)
            new QTreeWidgetItem(root, {QString::fromStdString(nodes.at(i).Node)});
        admin->settingsRead();
    }
    QTreeWidgetItem* loginEntry(std::size_t n) const
    {
        QTreeWidgetItem* root = admin->loginDialog().tree()->topLevelItem(0);
        return n >= 1 && static_cast<int>(n) <= root->childCount() ? root->child(static_cast<int>(n) - 1) : nullptr;
    }
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    FrmConf& conf() const { return admin->settingsDialog(); }
    Frmlgins& logins() const { return admin->loginsList(); }
};

void typeInto(QLineEdit* box, const QString& text)
{
    box->clear();
    QTest::keyClicks(box, text);
}

// On the box itself: a box stretched by its layout takes clicks only on its mark and text.
void clickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

} // namespace

TEST(SettingsDialog, HeadingsSwitchPagesAndTheShownOneIsOpaque)
{
    Rig rig;
    FrmConf& conf = rig.conf();
    EXPECT_EQ(conf.windowTitle(), "Settings");
    const char* texts[] = {"  IP Name", "  Passwords", "  Clear", "  Network", "  Location", "  Remote"};
    for (int i = 0; i < FrmConf::PageCount; ++i)
        EXPECT_EQ(conf.heading(i)->text(), texts[i]);
    rig.admin->showSettings();
    EXPECT_TRUE(conf.isVisible());
    EXPECT_TRUE(conf.labelBox(0)->isVisible()) << "opens on the IP Name page";
    for (int page : {4, 1, 3}) {
        QTest::mouseClick(conf.heading(page), Qt::LeftButton);
        EXPECT_EQ(conf.currentPage(), page);
        for (int i = 0; i < FrmConf::PageCount; ++i)
            EXPECT_EQ(conf.heading(i)->autoFillBackground(), i == page) << "page " << page << " heading " << i;
    }
    EXPECT_TRUE(conf.resetButton()->isVisible());
    EXPECT_FALSE(conf.labelBox(0)->isVisible());
    EXPECT_FALSE(conf.namespaceBox()->isVisible());
    EXPECT_TRUE(conf.okButton()->isVisible());

    // OK and the close box only hide it; the page left selected is shown again.
    QTest::mouseClick(conf.okButton(), Qt::LeftButton);
    EXPECT_FALSE(conf.isVisible());
    rig.admin->showSettings();
    EXPECT_EQ(conf.currentPage(), 3);
    conf.close();
    EXPECT_FALSE(conf.isVisible());
    rig.admin->showSettings();
    EXPECT_TRUE(conf.isVisible());
}

TEST(SettingsDialog, LabelBoxesShowPasswordsAndNamespace)
{
    Rig rig;
    FrmConf& conf = rig.conf();
    rig.admin->showSettings();
    clickBox(conf.labelBox(0));
    clickBox(conf.labelBox(2));
    EXPECT_EQ(rig.settings.NodeLabelMode, "IPNAME");
    EXPECT_FALSE(conf.labelBox(0)->isChecked());
    EXPECT_FALSE(conf.labelBox(1)->isChecked());
    EXPECT_TRUE(conf.labelBox(2)->isChecked());
    clickBox(conf.labelBox(2)); // unticks the only ticked box
    EXPECT_EQ(rig.settings.NodeLabelMode, "IPNAME");
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(conf.labelBox(i)->isChecked());

    conf.showPage(1);
    EXPECT_TRUE(conf.showPasswordsBox()->isChecked()) << "ticked at first";
    clickBox(conf.showPasswordsBox());
    EXPECT_FALSE(rig.settings.ShowPasswords);

    conf.showPage(4);
    EXPECT_EQ(conf.namespaceBox()->text(), "root\\cimv2");
    typeInto(conf.namespaceBox(), "root\\wmi");
    QTest::mouseClick(conf.setButton(), Qt::LeftButton);
    EXPECT_EQ(rig.settings.WmiNamespace, "root\\wmi");
    QTest::mouseClick(conf.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(rig.settings.WmiNamespace, "root\\cimv2");
    EXPECT_EQ(conf.namespaceBox()->text(), "root\\wmi") << "the box keeps the text";
    EXPECT_TRUE(conf.isVisible());
    typeInto(conf.namespaceBox(), "");
    QTest::mouseClick(conf.setButton(), Qt::LeftButton);
    EXPECT_EQ(rig.settings.WmiNamespace, "") << "any text, empty included";
}

TEST(SettingsDialog, TheKeyringBoxShowsWhereThePasswordsAreAfterEachMove)
{
    Rig rig;
    FrmConf& conf = rig.conf();
    rig.admin->showSettings();
    conf.showPage(1);
    QCheckBox* box = conf.keyringBox();
    EXPECT_FALSE(box->isChecked()) << "off at first";
    clickBox(box);
    EXPECT_TRUE(box->isChecked());
    clickBox(box);
    EXPECT_FALSE(box->isChecked());
    rig.keyringRefuses = true;
    clickBox(box);
    EXPECT_FALSE(box->isChecked()) << "a refused move leaves the box as the passwords are";
    EXPECT_EQ(rig.keyringAsked, (std::vector<bool>{true, false, true}));

    rig.settings.KeepPasswordsInKeyring = true;
    conf.fill(rig.settings);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(rig.keyringAsked.size(), 3u) << "showing the setting moves nothing";
}

TEST(SettingsDialog, FilledByTheSettingsReader)
{
    Rig rig;
    parseSettings("\r\n\r\n-10\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\other\r\nTrue\r\n", rig.settings);
    rig.admin->settingsRead();
    EXPECT_TRUE(rig.conf().labelBox(1)->isChecked());
    EXPECT_FALSE(rig.conf().showPasswordsBox()->isChecked());
    EXPECT_EQ(rig.conf().namespaceBox()->text(), "root\\other");
    // A mode outside the three ticks no box, and the reader clears none.
    parseSettings("\r\n\r\n-10\r\n0\r\n0\r\n0\r\nip\r\n", rig.settings);
    rig.admin->settingsRead();
    EXPECT_TRUE(rig.conf().labelBox(1)->isChecked());
    EXPECT_FALSE(rig.conf().labelBox(0)->isChecked());

    // The transport lines reach the page and the connections.
    parseSettings("\r\n\r\n-10\r\n0\r\n0\r\n0\r\n\r\n1\r\nroot\\cimv2\r\nTrue\r\n"
                  "https\r\n8443\r\n0\r\n1\r\nca/office.pem\r\n2500\r\n90000\r\ncorp.example.com\r\n\r\n32\r\n",
                  rig.settings);
    EXPECT_FALSE(rig.transport.current().https) << "published when read, not before";
    rig.admin->settingsRead();
    const RemotePage& page = *rig.conf().remotePage();
    EXPECT_TRUE(page.httpsButton()->isChecked());
    EXPECT_EQ(page.portBox()->value(), 8443);
    EXPECT_FALSE(page.certificateBox()->isChecked());
    EXPECT_TRUE(page.clearTextBasicBox()->isChecked());
    EXPECT_EQ(page.caFileBox()->text(), "ca/office.pem");
    EXPECT_EQ(page.connectLimitBox()->value(), 2500);
    EXPECT_EQ(page.queryLimitBox()->value(), 90000);
    EXPECT_EQ(page.domainBox()->text(), "corp.example.com");
    EXPECT_EQ(page.domainControllerBox()->text(), "");
    EXPECT_EQ(page.nodesAtOnceBox()->value(), 32);
    EXPECT_EQ(rig.transport.current(), rig.settings.transport);
}

TEST(SettingsDialog, RemotePageActsAtOnceAndTheConnectionsSeeEachChange)
{
    Rig rig;
    FrmConf& conf = rig.conf();
    RemotePage& page = *conf.remotePage();
    const std::function<RemoteTransport()> source = rig.transport.source();
    const RemoteTransport& set = rig.settings.transport;
    rig.admin->showSettings();
    QTest::mouseClick(conf.heading(FrmConf::RemotePageIndex), Qt::LeftButton);
    ASSERT_TRUE(page.isVisible());
    EXPECT_TRUE(page.httpButton()->isChecked());
    EXPECT_EQ(page.portBox()->value(), 5985);
    EXPECT_EQ(page.connectLimitBox()->value(), 5000);
    EXPECT_EQ(page.queryLimitBox()->value(), 30000);
    EXPECT_FALSE(page.certificateBox()->isEnabled()) << "HTTP has no certificate";
    EXPECT_TRUE(page.clearTextBasicBox()->isEnabled());
    EXPECT_NE(page.clearTextWarning()->text().indexOf("unencrypted"), -1);

    // The scheme moves a default port along; a port of the user's own stays.
    QTest::mouseClick(page.httpsButton(), Qt::LeftButton);
    EXPECT_TRUE(set.https);
    EXPECT_EQ(page.portBox()->value(), 5986);
    EXPECT_EQ(source().port, 5986);
    EXPECT_TRUE(source().https);
    EXPECT_TRUE(page.certificateBox()->isEnabled());
    EXPECT_FALSE(page.clearTextBasicBox()->isEnabled()) << "HTTPS protects the credentials itself";
    page.portBox()->selectAll();
    QTest::keyClicks(page.portBox(), "84");
    EXPECT_EQ(source().port, 5986) << "a number half typed is no setting";
    QTest::keyClicks(page.portBox(), "43");
    QTest::keyClick(page.portBox(), Qt::Key_Return);
    EXPECT_EQ(set.port, 8443);
    EXPECT_EQ(source().port, 8443);
    QTest::mouseClick(page.httpButton(), Qt::LeftButton);
    EXPECT_FALSE(source().https);
    EXPECT_EQ(source().port, 8443);
    // Arrows move between the radio buttons only in the active window.
    QApplication::setActiveWindow(&conf);
    page.httpButton()->setFocus();
    QTest::keyClick(page.httpButton(), Qt::Key_Right); // the keyboard's way to the other scheme
    EXPECT_TRUE(page.httpsButton()->isChecked());
    EXPECT_TRUE(source().https);
    QTest::keyClick(page.httpsButton(), Qt::Key_Left);
    EXPECT_FALSE(source().https);

    clickBox(page.clearTextBasicBox());
    EXPECT_TRUE(source().allowClearTextBasic);
    QTest::mouseClick(page.httpsButton(), Qt::LeftButton);
    clickBox(page.certificateBox());
    EXPECT_FALSE(source().verifyCertificate);

    // The file button offers the current file; a cancelled choice changes nothing.
    QString offered = "unset";
    QString answer = "/etc/ssl/office-ca.pem";
    page.setFileChooser([&](QWidget*, const QString& current) {
        offered = current;
        return answer;
    });
    QTest::mouseClick(page.caFileButton(), Qt::LeftButton);
    EXPECT_EQ(offered, "");
    EXPECT_EQ(page.caFileBox()->text(), answer);
    EXPECT_EQ(source().caFile, "/etc/ssl/office-ca.pem");
    answer.clear();
    QTest::mouseClick(page.caFileButton(), Qt::LeftButton);
    EXPECT_EQ(offered, "/etc/ssl/office-ca.pem");
    EXPECT_EQ(source().caFile, "/etc/ssl/office-ca.pem");
    typeInto(page.caFileBox(), " ca/office.pem ");
    EXPECT_EQ(source().caFile, "ca/office.pem");

    // Time limits within their ranges only.
    page.connectLimitBox()->setValue(2500);
    page.queryLimitBox()->setValue(99999999);
    EXPECT_EQ(source().connectTimeoutMs, 2500);
    EXPECT_EQ(source().queryTimeoutMs, 600000);

    // The domain whose computers the scan lists, and its controller, without the blanks around them.
    typeInto(page.domainBox(), " corp.example.com ");
    typeInto(page.domainControllerBox(), "dc1.corp.example.com");
    EXPECT_EQ(source().domain, "corp.example.com");
    EXPECT_EQ(source().domainController, "dc1.corp.example.com");
    EXPECT_EQ(page.nodesAtOnceBox()->value(), 64);
    page.nodesAtOnceBox()->setValue(1000);
    EXPECT_EQ(source().nodesAtOnce, 256);
    EXPECT_EQ(source(), set) << "the connections see what the settings hold";
}

// Nothing destroyed without a question naming what goes; No keeps everything.
TEST(SettingsDialog, ClearAsksNamingTheNodeFoldersThenDeletesTheCacheAndTheirHistory)
{
    Rig rig;
    const char* cache[] = {"PC-1/report", "PC-2/sen_cd", "PC-3/settings"};
    for (const char* f : {"PC-1/report", "PC-2/sen_cd", "PC-3/settings", "PC-3/keep"}) {
        std::filesystem::create_directories((rig.folder() / f).parent_path());
        ASSERT_TRUE(writeFileAtomically(rig.folder() / f, "x"));
    }
    rig.conf().showPage(2);
    for (const bool yes : {false, true}) {
        rig.boxes.clear();
        rig.boxes.answer({yes});
        QTest::mouseClick(rig.conf().clearButton(), Qt::LeftButton);
        ASSERT_EQ(rig.boxes.boxes().size(), 1u);
        EXPECT_EQ(rig.boxes.boxes()[0].text, "Clear the stored drive data of 3 node folders? Their reports, "
                                             "diagnostics and drive history are deleted.");
        EXPECT_TRUE(rig.boxes.boxes()[0].yesNo);
        for (const char* f : cache)
            EXPECT_EQ(std::filesystem::exists(rig.folder() / f), !yes) << f;
        const std::vector<std::string> forgotten = yes ? std::vector<std::string>{"PC-1", "PC-2", "PC-3"}
                                                       : std::vector<std::string>{};
        EXPECT_EQ(rig.forgotten, forgotten);
    }
    EXPECT_TRUE(std::filesystem::exists(rig.folder() / "PC-3/keep"));
    EXPECT_EQ(rig.nodes.count(), 3u);
    EXPECT_EQ(rig.ended, 0);
}

TEST(SettingsDialog, ResetDeletesTheNodeFileTellsAndEnds)
{
    for (const bool withFile : {true, false}) {
        Rig rig;
        if (withFile) {
            ASSERT_TRUE(writeFileAtomically(rig.folder() / "lg.ini", "PC-1\r\n"));
        }
        rig.nodes.at(2).Login = "bob";
        rig.conf().showPage(3);
        // No keeps the list and the file.
        QTest::mouseClick(rig.conf().resetButton(), Qt::LeftButton);
        ASSERT_EQ(rig.boxes.boxes().size(), 1u);
        EXPECT_EQ(rig.boxes.boxes()[0].text, "Reset the node list? 3 nodes and 1 login are deleted, and the program "
                                             "restarts.");
        EXPECT_TRUE(rig.boxes.boxes()[0].yesNo);
        EXPECT_EQ(std::filesystem::exists(rig.folder() / "lg.ini"), withFile);
        EXPECT_EQ(rig.nodes.count(), 3u);
        EXPECT_EQ(rig.ended, 0);

        rig.boxes.clear();
        rig.boxes.answer({true});
        bool endedBeforeMessage = true;
        rig.boxes.onShow([&](const ScriptedMessageBoxes::Box&) { endedBeforeMessage = rig.ended > 0; });
        QTest::mouseClick(rig.conf().resetButton(), Qt::LeftButton);
        EXPECT_FALSE(std::filesystem::exists(rig.folder() / "lg.ini"));
        EXPECT_EQ(rig.nodes.count(), 0u);
        ASSERT_EQ(rig.boxes.boxes().size(), 2u);
        const auto box = rig.boxes.boxes()[1];
        EXPECT_EQ(box.text, "Restart program to make network changes... ");
        EXPECT_EQ(box.title, "Message from Vorlu Optical");
        EXPECT_EQ(box.icon, MessageIcon::Question);
        EXPECT_FALSE(box.yesNo);
        EXPECT_FALSE(endedBeforeMessage);
        EXPECT_EQ(rig.ended, 1) << (withFile ? "with" : "without") << " lg.ini";
    }

    // A node file that cannot be deleted: told so, nothing lost, no end.
    Rig rig;
    std::filesystem::create_directories(rig.folder() / "lg.ini" / "x");
    rig.boxes.answer({true});
    rig.admin->resetNodes();
    ASSERT_EQ(rig.boxes.boxes().size(), 2u);
    EXPECT_EQ(rig.boxes.boxes()[1].text.rfind("Unable to reset the node list: ", 0), 0u);
    EXPECT_EQ(rig.nodes.count(), 3u);
    EXPECT_EQ(rig.ended, 0);
}

TEST(LoginDialog, SetCurrentNodeLoginFillsTicksAndOkStoresIntoTheSelectedNode)
{
    Rig rig;
    rig.nodes.at(2).Login = "bob";
    rig.nodes.at(2).Password = "pw2";
    rig.selected = 2;
    rig.admin->setCurrentNodeLogin();
    Frmlgin& login = rig.admin->loginDialog();
    EXPECT_EQ(login.windowTitle(), "Login");
    EXPECT_TRUE(login.isVisible());
    EXPECT_EQ(login.boxes().user->text(), "bob");
    EXPECT_EQ(login.boxes().password->text(), "pw2");
    EXPECT_EQ(login.boxes().password->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(login.boxes().password->toolTip().isEmpty());
    EXPECT_EQ(rig.loginEntry(2)->checkState(0), Qt::Checked);
    EXPECT_EQ(rig.loginEntry(1)->checkState(0), Qt::Unchecked) << "every entry has a box";
    EXPECT_EQ(login.tree()->currentItem(), rig.loginEntry(2));

    // Cancel stores nothing.
    typeInto(login.boxes().user, "mallory");
    QTest::mouseClick(login.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(rig.nodes.at(2).Login, "bob");

    // OK goes to the node selected when it is pressed.
    rig.admin->setCurrentNodeLogin();
    typeInto(login.boxes().user, "carol");
    login.boxes().password->setText(QString::fromUtf8("s3cr\xc3\xa9t"));
    rig.selected = 3;
    QTest::mouseClick(login.okButton(), Qt::LeftButton);
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(rig.nodes.at(3).Login, "carol");
    EXPECT_EQ(rig.nodes.at(3).Password, "s3cr\xc3\xa9t");
    EXPECT_EQ(rig.nodes.at(2).Login, "bob");
    EXPECT_EQ(rig.marked, std::vector<std::size_t>{3});

    Rig empty(0);
    empty.admin->setCurrentNodeLogin();
    EXPECT_FALSE(empty.admin->loginDialog().isVisible());
}

// A login typed with no node selected would be stored nowhere: the user is told instead.
TEST(LoginDialog, SetCurrentNodeLoginWithNoNodeSelectedSaysSo)
{
    Rig rig;
    rig.selected = 0;
    rig.admin->setCurrentNodeLogin();
    EXPECT_FALSE(rig.admin->loginDialog().isVisible());
    ASSERT_EQ(rig.boxes.boxes().size(), 1u);
    EXPECT_EQ(rig.boxes.boxes()[0].text, "No node is selected: select a node in the tree first.");

    // The selection lost while the dialog was open: OK keeps the dialog and says so.
    rig.selected = 1;
    rig.admin->setCurrentNodeLogin();
    typeInto(rig.admin->loginDialog().boxes().user, "carol");
    rig.selected = 0;
    QTest::mouseClick(rig.admin->loginDialog().okButton(), Qt::LeftButton);
    EXPECT_TRUE(rig.admin->loginDialog().isVisible());
    EXPECT_EQ(rig.boxes.boxes().size(), 2u);
    for (std::size_t n = 1; n <= rig.nodes.count(); ++n)
        EXPECT_EQ(rig.nodes.at(n).Login, "") << n;
}

TEST(LoginDialog, ResetCurrentNodeLoginAsksFirst)
{
    Rig rig;
    rig.nodes.at(1).Login = "bob";
    rig.nodes.at(1).Password = "pw";
    rig.selected = 1;
    rig.boxes.answer({false, true});
    rig.admin->resetCurrentNodeLogin();
    EXPECT_EQ(rig.nodes.at(1).Login, "bob");
    EXPECT_EQ(rig.nodes.at(1).Password, "pw");
    rig.admin->resetCurrentNodeLogin();
    EXPECT_EQ(rig.nodes.at(1).Login, "");
    EXPECT_EQ(rig.nodes.at(1).Password, "");
    const auto asked = rig.boxes.boxes();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Reset Login and Password?");
    EXPECT_EQ(asked[0].title, "Message from Vorlu Optical");
    EXPECT_EQ(asked[0].icon, MessageIcon::Question);
    EXPECT_TRUE(asked[0].yesNo);
    EXPECT_TRUE(rig.marked.empty()) << "the picture is not changed";

    Rig empty(0);
    empty.admin->resetCurrentNodeLogin();
    EXPECT_TRUE(empty.boxes.boxes().empty());
}

TEST(LoginsList, GridColumnsPasswordRuleAndReloadAfterTheCloseBox)
{
    Rig rig;
    rig.nodes.at(1).Login = "ann";
    rig.nodes.at(1).Password = "abcde";
    rig.nodes.at(2).Login = "bob";
    rig.settings.ShowPasswords = false;
    rig.admin->showLogins();
    Frmlgins& list = rig.logins();
    EXPECT_EQ(list.windowTitle(), "Logins");
    ASSERT_EQ(list.rowCount(), 4);
    const char* headers[] = {"Name", "Node", "IP", "Login", "Password"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(list.cell(0, c), headers[c]);
        EXPECT_EQ(list.grid()->columnWidth(c), 1800 * list.logicalDpiX() / 1440);
    }
    EXPECT_EQ(list.cell(1, 0), "PC-1");
    EXPECT_EQ(list.cell(1, 1), "Desk 1");
    EXPECT_EQ(list.cell(1, 2), "10.0.0.1");
    EXPECT_EQ(list.cell(1, 3), "ann");
    EXPECT_EQ(list.cell(1, 4), "*****");
    EXPECT_EQ(list.cell(2, 4), "") << "an empty password is an empty cell";

    // Hidden by OK, the list keeps its grid whatever the setting does.
    QTest::mouseClick(list.okButton(), Qt::LeftButton);
    rig.settings.ShowPasswords = true;
    rig.admin->showLogins();
    EXPECT_EQ(list.cell(1, 4), "*****");
    // Its close box unloads it: the next showing fills it again.
    list.close();
    rig.admin->showLogins();
    EXPECT_EQ(list.cell(1, 4), "abcde");
}

TEST(LoginsList, RowClickAndUpdate)
{
    Rig rig;
    rig.settings.ShowPasswords = false;
    rig.admin->showLogins();
    Frmlgins& list = rig.logins();
    EXPECT_EQ(rig.admin->editedNode(), 0u);
    // Update before a row is clicked changes no node.
    typeInto(list.boxes().user, "nobody");
    QTest::mouseClick(list.updateButton(), Qt::LeftButton);
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(rig.nodes.at(i).Login, "");

    rig.nodes.at(2).Login = "old";
    rig.nodes.at(2).Password = "pw";
    const QRect cell = list.grid()->visualItemRect(list.grid()->item(2, 1));
    QTest::mouseClick(list.grid()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(rig.admin->editedNode(), 2u);
    EXPECT_EQ(list.boxes().user->text(), "old");
    EXPECT_EQ(list.boxes().password->text(), "pw");
    EXPECT_EQ(list.nameBox()->text(), "Desk 2");

    typeInto(list.boxes().user, "new");
    typeInto(list.boxes().password, "1234");
    // A login changed elsewhere meanwhile shows too: every row is rewritten.
    rig.nodes.at(3).Login = "elsewhere";
    QTest::mouseClick(list.updateButton(), Qt::LeftButton);
    EXPECT_EQ(rig.nodes.at(2).Login, "new");
    EXPECT_EQ(rig.nodes.at(2).Password, "1234");
    EXPECT_EQ(rig.nodes.at(1).Login, "");
    EXPECT_EQ(list.cell(2, 3), "new");
    EXPECT_EQ(list.cell(2, 4), "****");
    EXPECT_EQ(list.cell(3, 3), "elsewhere");

    // The header row selects nothing.
    QTest::mouseClick(list.grid()->viewport(), Qt::LeftButton, {},
                      list.grid()->visualItemRect(list.grid()->item(0, 0)).center());
    EXPECT_EQ(rig.admin->editedNode(), 2u);
}

TEST(AdministratorDialog, OkCancelAndReopeningAfterTheCloseBox)
{
    Rig rig;
    rig.settings.AdminUser = "admin";
    rig.settings.AdminPassword = "S3cret";
    rig.admin->settingsRead();
    EXPECT_EQ(rig.adminLogin.current().user, "admin") << "published when read";
    rig.admin->showAdministratorPassword();
    Frmadmin* dialog = rig.admin->adminDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Administrator Password");
    EXPECT_EQ(dialog->boxes().user->text(), "admin");
    EXPECT_EQ(dialog->boxes().password->text(), "S3cret");
    EXPECT_EQ(dialog->boxes().password->echoMode(), QLineEdit::Password);

    typeInto(dialog->boxes().password, "typed");
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(rig.settings.AdminPassword, "S3cret");
    EXPECT_EQ(rig.adminLogin.current().password, "S3cret");
    rig.admin->showAdministratorPassword();
    EXPECT_EQ(rig.admin->adminDialog()->boxes().password->text(), "typed") << "Cancel keeps the typed text";

    typeInto(dialog->boxes().user, "root");
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(rig.settings.AdminUser, "root");
    EXPECT_EQ(rig.settings.AdminPassword, "typed");
    EXPECT_EQ(rig.adminLogin.current().user, "root") << "the scan's directory listing sees the new login";
    EXPECT_EQ(rig.adminLogin.current().password, "typed");

    // The close box discards it; opened again it shows the login in use.
    rig.admin->showAdministratorPassword();
    typeInto(rig.admin->adminDialog()->boxes().user, "unsaved");
    rig.admin->adminDialog()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.admin->adminDialog(), nullptr);
    rig.admin->showAdministratorPassword();
    ASSERT_NE(rig.admin->adminDialog(), nullptr);
    EXPECT_EQ(rig.admin->adminDialog()->boxes().user->text(), "root");
    EXPECT_EQ(rig.admin->adminDialog()->boxes().password->text(), "typed");
}

TEST(StatisticsDialog, CountsAtEachLoadingOnly)
{
    Rig rig;
    rig.nodes.at(1).Scanned = "Scanned";
    rig.nodes.at(2).Scanned = "Access denied";
    EXPECT_EQ(rig.admin->statisticsDialog(), nullptr) << "made at its first opening";
    rig.admin->showStatistics();
    FrmStats* stats = rig.admin->statisticsDialog();
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->windowTitle(), "Statistics");
    EXPECT_EQ(stats->nodesValue(), " 3");
    EXPECT_EQ(stats->scannedValue(), "1");

    // While open, Statistics only brings it forward.
    rig.nodes.at(3).Scanned = "Scanned";
    rig.admin->showStatistics();
    EXPECT_EQ(stats->scannedValue(), "1");
    stats->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.admin->statisticsDialog(), nullptr);
    rig.admin->showStatistics();
    EXPECT_EQ(rig.admin->statisticsDialog()->scannedValue(), "2");
    QTest::keyClick(rig.admin->statisticsDialog(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.admin->statisticsDialog(), nullptr) << "Escape discards it too";

    Rig empty(0);
    empty.admin->showStatistics();
    EXPECT_EQ(empty.admin->statisticsDialog(), nullptr);
}
