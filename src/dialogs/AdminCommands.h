#pragma once
#include "commands/RepaintPace.h"
#include "nodes/NodeTable.h"
#include "nodes/Settings.h"
#include "platform/UserInterfaceServices.h"

#include <QObject>
#include <QPointer>
#include <cstddef>
#include <filesystem>
#include <functional>

class QAction;
class QTreeWidgetItem;
class QWidget;

namespace vorlu {

class FrmConf;
class Frmadmin;
class Frmlgin;
class Frmlgins;
class FrmStats;

// What the administration commands act on: the main window's state and the
// few things only the main window can do.
struct AdminContext {
    NodeTable& nodes;
    Settings& settings;
    const std::size_t& selectedNode;
    std::filesystem::path programFolder;
    MessageBoxes& messages;
    // Gives node n's entry of the main node tree the picture "pw".
    std::function<void(std::size_t)> markLoginSet;
    // Node n's entry in the login dialog's tree, or null.
    std::function<QTreeWidgetItem*(std::size_t)> loginTreeEntry;
    // Ends the program at once, writing neither the node file nor the settings.
    std::function<void()> endWithoutSaving;
    // Told the settings' transport once they are read and at each change in the
    // settings dialog; may be empty.
    std::function<void(const RemoteTransport&)> transportChanged = {};
    // Deletes the drive history of the nodes named; false and a reason on failure.
    std::function<bool(const std::vector<std::string>&, std::string*)> forgetHistory = {};
    // Moves the passwords to the system keyring (true) or back to the files
    // and returns where they are kept afterwards; may be empty (no keyring).
    std::function<bool(bool)> keepPasswordsInKeyring = {};
    // Told the administrator login once the settings are read and at each
    // change in the administrator dialog; may be empty.
    std::function<void(const AdminLogin&)> adminLoginChanged = {};
};

// The items of the "Adminisrator" and "Configure" menus and of the node
// tree's menu that these commands serve.
struct AdminMenu {
    QAction* settings;      // mnusettings
    QAction* addLogin;      // mnuaddlogin
    QAction* resetLogin;    // mnureset
    QAction* logins;        // mnulog
    QAction* adminPassword; // mnusap
    QAction* statistics;    // mnustats
};

// Settings, node logins, administrator login and statistics. The settings
// dialog, the login dialog and the logins list are made with the commands and
// live as long as their owner window; the administrator and statistics
// dialogs are discarded by their close boxes and made again when needed.
class AdminCommands : public QObject {
    Q_OBJECT
public:
    AdminCommands(AdminContext context, RepaintPace& pace, QWidget* owner);
    ~AdminCommands() override;

    void connectMenu(const AdminMenu& menu);
    // What the settings reader pushes into the dialogs.
    void settingsRead();

    void showSettings();
    void setCurrentNodeLogin();
    void resetCurrentNodeLogin();
    void showLogins();
    void showAdministratorPassword();
    void showStatistics();

    // "Clear" and "Reset" of the settings dialog.
    void clearCache();
    void resetNodes();

    FrmConf& settingsDialog() const { return *conf_; }
    Frmlgin& loginDialog() const { return *login_; }
    Frmlgins& loginsList() const { return *logins_; }
    Frmadmin* adminDialog() const;     // null once its close box discarded it
    FrmStats* statisticsDialog() const; // null before the first opening and after its close box
    std::size_t editedNode() const { return editedNode_; }

private:
    void loginOk();
    void loadLoginsList();
    void loginsRowClicked(int row);
    void loginsUpdate();
    void writeLoginColumns();
    void publishTransport() const;
    void publishAdminLogin() const;
    void makeAdminDialog();
    void adminOk();

    AdminContext ctx_;
    RepaintPace& pace_;
    QWidget* owner_;
    FrmConf* conf_;
    Frmlgin* login_;
    Frmlgins* logins_;
    QPointer<Frmadmin> admin_;
    QPointer<FrmStats> stats_;
    std::size_t editedNode_ = 0;
};

} // namespace vorlu
