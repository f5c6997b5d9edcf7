#include "dialogs/AdminCommands.h"

#include "dialogs/FrmConf.h"
#include "dialogs/FrmStats.h"
#include "dialogs/Frmadmin.h"
#include "dialogs/Frmlgin.h"
#include "dialogs/Frmlgins.h"
#include "nodes/DataCache.h"
#include "nodes/AdminRules.h"

#include <QAction>
#include <QCheckBox>
#include <QTableWidget>

namespace vorlu {

namespace {

constexpr const char* MessageTitle = "Message from Vorlu Optical";
constexpr const char* NoNodeSelectedText = "No node is selected: select a node in the tree first.";
constexpr int LoginsColumnTwips = 1800;
constexpr const char* LoginsHeaders[Frmlgins::Columns] = {"Name", "Node", "IP", "Login", "Password"};

void bringForward(QWidget* w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

// "1 node", "3 nodes".
std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

AdminCommands::AdminCommands(AdminContext context, RepaintPace& pace, QWidget* owner)
    : ctx_(std::move(context)), pace_(pace), owner_(owner), conf_(new FrmConf(ctx_.settings, owner)),
      login_(new Frmlgin(owner)), logins_(new Frmlgins(owner))
{
    connect(conf_, &FrmConf::clearRequested, this, &AdminCommands::clearCache);
    connect(conf_, &FrmConf::resetRequested, this, &AdminCommands::resetNodes);
    connect(conf_, &FrmConf::transportChanged, this, &AdminCommands::publishTransport);
    connect(conf_, &FrmConf::keyringRequested, this, [this](bool on) {
        const bool kept = ctx_.keepPasswordsInKeyring ? ctx_.keepPasswordsInKeyring(on) : false;
        conf_->keyringBox()->setChecked(kept);
    });
    connect(login_, &Frmlgin::okPressed, this, &AdminCommands::loginOk);
    connect(logins_, &Frmlgins::rowClicked, this, &AdminCommands::loginsRowClicked);
    connect(logins_, &Frmlgins::updatePressed, this, &AdminCommands::loginsUpdate);
}

AdminCommands::~AdminCommands() = default;

Frmadmin* AdminCommands::adminDialog() const { return admin_; }

FrmStats* AdminCommands::statisticsDialog() const { return stats_; }

void AdminCommands::connectMenu(const AdminMenu& menu)
{
    connect(menu.settings, &QAction::triggered, this, &AdminCommands::showSettings);
    connect(menu.addLogin, &QAction::triggered, this, &AdminCommands::setCurrentNodeLogin);
    connect(menu.resetLogin, &QAction::triggered, this, &AdminCommands::resetCurrentNodeLogin);
    connect(menu.logins, &QAction::triggered, this, &AdminCommands::showLogins);
    connect(menu.adminPassword, &QAction::triggered, this, &AdminCommands::showAdministratorPassword);
    connect(menu.statistics, &QAction::triggered, this, &AdminCommands::showStatistics);
}

void AdminCommands::settingsRead()
{
    conf_->fill(ctx_.settings);
    makeAdminDialog();
    publishTransport();
    publishAdminLogin();
}

void AdminCommands::publishAdminLogin() const
{
    if (ctx_.adminLoginChanged)
        ctx_.adminLoginChanged({ctx_.settings.AdminUser, ctx_.settings.AdminPassword});
}

void AdminCommands::publishTransport() const
{
    if (ctx_.transportChanged)
        ctx_.transportChanged(ctx_.settings.transport);
}

void AdminCommands::showSettings() { bringForward(conf_); }

void AdminCommands::clearCache()
{
    const std::vector<std::string> nodes = nodesWithFolders(ctx_.programFolder, ctx_.nodes);
    if (nodes.empty()) {
        ctx_.messages.show("No node folder holds stored drive data.", MessageTitle, MessageIcon::Information);
        return;
    }
    const std::string count = counted(nodes.size(), "node folder", "node folders");
    if (!ctx_.messages.askYesNo("Clear the stored drive data of " + count +
                                    "? Their reports, diagnostics and drive history are deleted.",
                                MessageTitle, MessageIcon::Question))
        return;
    clearDataCache(ctx_.programFolder, ctx_.nodes, [this] { pace_.yield(); });
    std::string error;
    if (ctx_.forgetHistory && !ctx_.forgetHistory(nodes, &error))
        ctx_.messages.show("The drive history is kept: " + error, MessageTitle, MessageIcon::Warning);
}

void AdminCommands::resetNodes()
{
    std::size_t logins = 0;
    for (std::size_t n = 1; n <= ctx_.nodes.count(); ++n)
        logins += ctx_.nodes.at(n).Login.empty() ? 0 : 1;
    if (!ctx_.messages.askYesNo("Reset the node list? " + counted(ctx_.nodes.count(), "node", "nodes") + " and " +
                                    counted(logins, "login", "logins") +
                                    " are deleted, and the program restarts.",
                                MessageTitle, MessageIcon::Question))
        return;
    std::string error;
    if (!resetNodeList(ctx_.nodes, ctx_.programFolder, &error)) {
        // Ending now would bring the old list back at the next start.
        ctx_.messages.show("Unable to reset the node list: " + error, MessageTitle, MessageIcon::Warning);
        return;
    }
    pace_.yield();
    ctx_.messages.show("Restart program to make network changes... ", MessageTitle, MessageIcon::Question);
    ctx_.endWithoutSaving();
}

void AdminCommands::setCurrentNodeLogin()
{
    if (ctx_.nodes.empty())
        return;
    const std::size_t n = ctx_.selectedNode;
    // Otherwise the dialog would take a login and store it nowhere.
    if (!ctx_.nodes.contains(n)) {
        ctx_.messages.show(NoNodeSelectedText, MessageTitle, MessageIcon::Information);
        return;
    }
    // A node without an entry in the dialog's tree (this computer) still gets its boxes.
    if (ctx_.loginTreeEntry)
        login_->tickAndSelect(ctx_.loginTreeEntry(n));
    const NodeRecord& r = ctx_.nodes.at(n);
    login_->boxes().fill(r.Login, r.Password);
    bringForward(login_);
}

void AdminCommands::loginOk()
{
    // The node selected in the main window now, not when the dialog opened.
    const std::size_t n = ctx_.selectedNode;
    if (!ctx_.nodes.contains(n)) {
        ctx_.messages.show(NoNodeSelectedText, MessageTitle, MessageIcon::Information);
        return; // the dialog stays open with what was typed
    }
    NodeRecord& r = ctx_.nodes.at(n);
    r.Login = login_->boxes().userText();
    r.Password = login_->boxes().passwordText();
    if (ctx_.markLoginSet)
        ctx_.markLoginSet(n);
    login_->hide();
}

void AdminCommands::resetCurrentNodeLogin()
{
    if (ctx_.nodes.empty())
        return;
    if (!ctx_.messages.askYesNo("Reset Login and Password?", MessageTitle, MessageIcon::Question))
        return;
    if (ctx_.nodes.contains(ctx_.selectedNode)) {
        NodeRecord& r = ctx_.nodes.at(ctx_.selectedNode);
        r.Login.clear();
        r.Password.clear();
    }
}

void AdminCommands::showLogins()
{
    if (ctx_.nodes.empty())
        return;
    if (!logins_->loaded())
        loadLoginsList();
    bringForward(logins_);
}

void AdminCommands::loadLoginsList()
{
    editedNode_ = 0;
    const std::size_t count = ctx_.nodes.count();
    logins_->clearGrid(static_cast<int>(count) + 1);
    for (int c = 0; c < Frmlgins::Columns; ++c) {
        logins_->setColumnWidthTwips(c, LoginsColumnTwips);
        logins_->setCell(0, c, LoginsHeaders[c]);
    }
    for (std::size_t i = 1; i <= count; ++i) {
        const NodeRecord& r = ctx_.nodes.at(i);
        const int row = static_cast<int>(i);
        logins_->setCell(row, 0, r.Name);
        logins_->setCell(row, 1, r.Node);
        logins_->setCell(row, 2, r.IP);
    }
    writeLoginColumns();
    logins_->setLoaded();
}

void AdminCommands::writeLoginColumns()
{
    // The grid may hold fewer rows than the table has grown to since it was loaded.
    const std::size_t rows = static_cast<std::size_t>(logins_->rowCount());
    for (std::size_t i = 1; i < rows && i <= ctx_.nodes.count(); ++i) {
        const NodeRecord& r = ctx_.nodes.at(i);
        logins_->setCell(static_cast<int>(i), 3, r.Login);
        logins_->setCell(static_cast<int>(i), 4, passwordCell(r.Password, ctx_.settings.ShowPasswords));
    }
}

void AdminCommands::loginsRowClicked(int row)
{
    if (row < 1 || !ctx_.nodes.contains(static_cast<std::size_t>(row)))
        return;
    editedNode_ = static_cast<std::size_t>(row);
    const NodeRecord& r = ctx_.nodes.at(editedNode_);
    logins_->boxes().fill(r.Login, r.Password);
    logins_->nameBox()->setText(QString::fromStdString(r.Node));
}

void AdminCommands::loginsUpdate()
{
    if (ctx_.nodes.contains(editedNode_)) {
        NodeRecord& r = ctx_.nodes.at(editedNode_);
        r.Login = logins_->boxes().userText();
        r.Password = logins_->boxes().passwordText();
    }
    pace_.yield();
    writeLoginColumns();
    logins_->grid()->viewport()->update();
}

void AdminCommands::makeAdminDialog()
{
    admin_ = new Frmadmin(owner_);
    admin_->setAttribute(Qt::WA_DeleteOnClose);
    admin_->boxes().fill(ctx_.settings.AdminUser, ctx_.settings.AdminPassword);
    connect(admin_, &Frmadmin::okPressed, this, &AdminCommands::adminOk);
}

void AdminCommands::showAdministratorPassword()
{
    // Discarded by its close box: made again from the login in use.
    if (!admin_)
        makeAdminDialog();
    bringForward(admin_);
}

void AdminCommands::adminOk()
{
    ctx_.settings.AdminUser = admin_->boxes().userText();
    ctx_.settings.AdminPassword = admin_->boxes().passwordText();
    publishAdminLogin();
    admin_->hide();
}

void AdminCommands::showStatistics()
{
    if (ctx_.nodes.empty())
        return;
    if (!stats_) {
        stats_ = new FrmStats(owner_);
        stats_->setAttribute(Qt::WA_DeleteOnClose);
        stats_->setValues(signedCountText(ctx_.nodes.count()), std::to_string(scannedCount(ctx_.nodes)));
    }
    bringForward(stats_);
}

} // namespace vorlu
