// dialogshots OUTDIR: saves settings.png (one per page: settings-0.png ...,
// and settings-remote-https.png of the Remote page on HTTPS),
// login.png, logins.png, admin.png and statistics.png of the administration
// dialogs filled with sample nodes.
#include "dialogs/AdminCommands.h"
#include "dialogs/FrmConf.h"
#include "dialogs/FrmStats.h"
#include "dialogs/Frmadmin.h"
#include "dialogs/Frmlgin.h"
#include "dialogs/Frmlgins.h"
#include "dialogs/RemotePage.h"

#include <QApplication>
#include <QTableWidget>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <iostream>

using namespace vorlu;

namespace {

void save(QWidget* w, const QDir& out, const QString& name)
{
    w->show();
    w->raise();
    QApplication::processEvents();
    if (!w->grab().save(out.filePath(name)))
        std::cerr << "dialogshots: cannot write " << out.filePath(name).toStdString() << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: dialogshots OUTDIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    NodeTable nodes;
    struct Sample {
        const char* name;
        const char* ip;
        const char* node;
        const char* login;
        const char* password;
        const char* scanned;
    };
    for (const Sample& s : {Sample{"WS-ADMIN", "192.168.1.10", "WS-ADMIN", "", "", "Scanned"},
                            Sample{"PC-FRONT", "192.168.1.21", "Front desk", "frontdesk", "d3sk!", "Scanned"},
                            Sample{"PC-LAB", "192.168.1.22", "Lab 2", "", "", "Access denied"},
                            Sample{"SRV-FILES", "192.168.1.5", "Files", "backup", "Arch1ve", "False"}}) {
        NodeRecord r = discoveredNode(s.name);
        r.IP = s.ip;
        r.Node = s.node;
        r.Login = s.login;
        r.Password = s.password;
        r.Scanned = s.scanned;
        nodes.append(r);
    }
    Settings settings;
    settings.AdminUser = "administrator";
    settings.AdminPassword = "secret";
    settings.labelBoxName = true;
    settings.NodeLabelMode = "NAME";
    settings.ShowPasswords = false;
    std::size_t selected = 2;
    struct NoBoxes : MessageBoxes {
        void show(const std::string&, const std::string&, MessageIcon) override {}
        void beep() override {}
    } boxes;
    QWidget owner;
    RepaintPace pace;
    AdminCommands admin({nodes, settings, selected, QDir::tempPath().toStdString(), boxes, {},
                         [&](std::size_t n) {
                             QTreeWidgetItem* root = admin.loginDialog().tree()->topLevelItem(0);
                             return root && static_cast<int>(n) <= root->childCount()
                                        ? root->child(static_cast<int>(n) - 1)
                                        : nullptr;
                         },
                         [] {}},
                        pace, &owner);
    auto* root = new QTreeWidgetItem(admin.loginDialog().tree(), {"Network"});
    for (std::size_t i = 1; i <= nodes.count(); ++i)
        new QTreeWidgetItem(root, {QString::fromStdString(nodes.at(i).Node)});
    admin.loginDialog().tree()->expandAll();
    admin.settingsRead();

    admin.showSettings();
    for (int page = 0; page < FrmConf::PageCount; ++page) {
        admin.settingsDialog().showPage(page);
        save(&admin.settingsDialog(), out, QStringLiteral("settings-%1.png").arg(page));
    }
    admin.settingsDialog().showPage(FrmConf::RemotePageIndex);
    admin.settingsDialog().remotePage()->httpsButton()->click();
    admin.settingsDialog().remotePage()->caFileBox()->setText(QStringLiteral("/etc/ssl/certs/office-ca.pem"));
    save(&admin.settingsDialog(), out, QStringLiteral("settings-remote-https.png"));
    admin.settingsDialog().showPage(0);
    save(&admin.settingsDialog(), out, QStringLiteral("settings.png"));
    admin.setCurrentNodeLogin();
    save(&admin.loginDialog(), out, QStringLiteral("login.png"));
    admin.showLogins();
    // As after a click on the second node's row.
    admin.loginsList().grid()->selectRow(2);
    emit admin.loginsList().rowClicked(2);
    save(&admin.loginsList(), out, QStringLiteral("logins.png"));
    admin.showAdministratorPassword();
    save(admin.adminDialog(), out, QStringLiteral("admin.png"));
    admin.showStatistics();
    save(admin.statisticsDialog(), out, QStringLiteral("statistics.png"));
    return 0;
}
