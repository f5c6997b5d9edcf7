#include "app/CommandMenus.h"

#include <stdexcept>

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace vorlu {

namespace {

struct Item {
    const char* menu;    // owning menu or submenu
    const char* name;    // control name; nullptr for a separator
    const char* caption; // shown text
};

// Submenus are listed as items whose name is also a menu of the table.
constexpr Item kItems[] = {
    {"mnumain", "mnuUG", "Support"},
    {"mnumain", nullptr, nullptr},
    {"mnumain", "mnuabt", "About Vorlu Optical"},
    {"mnumain", nullptr, nullptr},
    {"mnumain", "mnuexit", "Exit"},
    {"mnunw", "mnuaddlogin", "Set Current Node Login"},
    {"mnunw", "mnureset", "Reset Current Node Login"},
    {"mnunw", nullptr, nullptr},
    {"mnunw", "mnuScannode", "Build Current Optical Drives"},
    {"mnunw", "mnuscanlocal", "Build Local  Optical Drives"},
    {"mnunw", nullptr, nullptr},
    {"mnunw", "mnucurnddia", "Current Computer Optical Drives Diagnostics Scan"},
    {"mnunw", "mnulocaldia", "Local Computer Optical Drives Diagnostics Scan"},
    {"mnunw", "mnudiagall", "Diagnose All Nodes"},
    {"mnuscan", "mnunwscan", "Network Scan"},
    {"mnuscan", "mnuRescan", "Re-Scan"},
    {"Mnunodes", "mnuslpc", "Build Computer Local Optical Drives"},
    {"Mnunodes", "mnuscansp", "Build selected Computer Optical Drives"},
    {"Mnunodes", nullptr, nullptr},
    {"Mnunodes", "mnuwcurnddia", "Current Computer Optical Drives Diagnostics Scan"},
    {"Mnunodes", "mnuelocaldia", "Local  Computer Optical Drives Diagnostics Scan"},
    {"Mnunodes", nullptr, nullptr},
    {"Mnunodes", "mnuscanlist", "Scan List"},
    {"mnuadm", "mnusap", "Set Administrator Password"},
    {"mnuadm", "mnulog", "Logins"},
    {"mnuadm", "mnustats", "Statistics"},
    {"mnuconfigure", "mnusettings", "Settings"},
    {"mnuconfigure", "mnubk", "Backcolor"},
    {"mnuconfigure", "mnuRacks", "Show Racks"},
    {"mnuPC", "mnuareset", "Reset"},
    {"mnuPC", "mnutest", "Test View"},
    {"mnuPC", "mnuMove", "Move"},
    {"mnuMove", "mnuUp", "Up"},
    {"mnuMove", "mnuLeft", "Left"},
    {"mnuMove", "mnuRight", "Right"},
    {"mnuMove", "mnuDown", "Down"},
    {"mnuPC", "mnuZoom", "Zoom"},
    {"mnuZoom", "mnuIn", "In"},
    {"mnuZoom", "mnuOut", "Out"},
    {"mnuPC", nullptr, nullptr},
    {"mnuPC", "mnudiagallnodes", "Diagnose All Nodes"},
    {"mnuPC", "mnufleet", "Fleet View"},
};

constexpr const char* kTopMenus[] = {"mnumain", "mnunw", "mnuscan", "Mnunodes", "mnuadm", "mnuconfigure", "mnuPC"};
constexpr const char* kSubmenus[] = {"mnuMove", "mnuZoom"};

} // namespace

CommandMenus::CommandMenus(QWidget* owner) : QObject(owner)
{
    for (const char* name : kTopMenus) {
        auto* m = new QMenu(owner);
        m->setObjectName(name);
        menus_.insert(name, m);
    }
    for (const char* name : kSubmenus) {
        auto* m = new QMenu(owner);
        m->setObjectName(name);
        menus_.insert(name, m);
    }
    for (const Item& it : kItems) {
        QMenu* parent = menus_.value(it.menu);
        if (!it.name) {
            parent->addSeparator();
            continue;
        }
        if (QMenu* sub = menus_.value(it.name)) {
            sub->setTitle(it.caption);
            QAction* a = parent->addMenu(sub);
            a->setObjectName(it.name);
            actions_.insert(it.name, a);
            continue;
        }
        QAction* a = parent->addAction(it.caption);
        a->setObjectName(it.name);
        actions_.insert(it.name, a);
    }
    QAction* racks = actions_.value("mnuRacks");
    racks->setCheckable(true);
    racks->setChecked(true);
}

QMenu* CommandMenus::menu(const QString& name) const { return menus_.value(name, nullptr); }

QAction* CommandMenus::action(const QString& name) const
{
    // A misspelt name is a fault of the program: it must stop the tests at once.
    QAction* a = actions_.value(name, nullptr);
    if (!a)
        throw std::logic_error("no command-bar item named " + name.toStdString());
    return a;
}

void CommandMenus::adjustForSelection(bool localSelected)
{
    auto set = [this](const char* name, bool enabled) { action(name)->setEnabled(enabled); };
    set("mnuScannode", true);
    if (localSelected) {
        for (const char* n : {"mnucurnddia", "mnuscansp", "mnuwcurnddia"})
            set(n, false);
        for (const char* n : {"mnulocaldia", "mnuslpc", "mnuelocaldia"})
            set(n, true);
    } else {
        set("mnuscanlocal", false);
        for (const char* n : {"mnucurnddia", "mnuscansp", "mnuwcurnddia"})
            set(n, true);
        for (const char* n : {"mnulocaldia", "mnuslpc", "mnuelocaldia"})
            set(n, false);
    }
}

} // namespace vorlu
