#include "app/CommandMenus.h"

#include <cstddef>
#include <iterator>

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace vorlu {

namespace {

using Menus = CommandMenus::Menus;
using Items = CommandMenus::Items;

struct MenuRow {
    QMenu* Menus::*menu;
    const char* name;
};

constexpr MenuRow kMenus[] = {
    {&Menus::mnumain, "mnumain"},
    {&Menus::mnunw, "mnunw"},
    {&Menus::mnuscan, "mnuscan"},
    {&Menus::Mnunodes, "Mnunodes"},
    {&Menus::mnuadm, "mnuadm"},
    {&Menus::mnuconfigure, "mnuconfigure"},
    {&Menus::mnuPC, "mnuPC"},
    {&Menus::mnuMove, "mnuMove"},
    {&Menus::mnuZoom, "mnuZoom"},
};

struct Row {
    QMenu* Menus::*in;              // owning menu or submenu
    QAction* Items::*item;          // nullptr for a separator
    const char* name;               // control name
    const char* caption;            // shown text
    QMenu* Menus::*opens = nullptr; // the submenu this item opens
};

constexpr Row separator(QMenu* Menus::*in) { return {in, nullptr, nullptr, nullptr}; }

constexpr Row kItems[] = {
    {&Menus::mnumain, &Items::mnuUG, "mnuUG", "Support"},
    separator(&Menus::mnumain),
    {&Menus::mnumain, &Items::mnuabt, "mnuabt", "About Vorlu Optical"},
    separator(&Menus::mnumain),
    {&Menus::mnumain, &Items::mnuexit, "mnuexit", "Exit"},
    {&Menus::mnunw, &Items::mnuaddlogin, "mnuaddlogin", "Set Current Node Login"},
    {&Menus::mnunw, &Items::mnureset, "mnureset", "Reset Current Node Login"},
    separator(&Menus::mnunw),
    {&Menus::mnunw, &Items::mnuScannode, "mnuScannode", "Build Current Optical Drives"},
    {&Menus::mnunw, &Items::mnuscanlocal, "mnuscanlocal", "Build Local  Optical Drives"},
    separator(&Menus::mnunw),
    {&Menus::mnunw, &Items::mnucurnddia, "mnucurnddia", "Current Computer Optical Drives Diagnostics Scan"},
    {&Menus::mnunw, &Items::mnulocaldia, "mnulocaldia", "Local Computer Optical Drives Diagnostics Scan"},
    {&Menus::mnunw, &Items::mnudiagall, "mnudiagall", "Diagnose All Nodes"},
    separator(&Menus::mnunw),
    {&Menus::mnunw, &Items::mnunodeconn, "mnunodeconn", "Node Connection"},
    {&Menus::mnuscan, &Items::mnunwscan, "mnunwscan", "Network Scan"},
    {&Menus::mnuscan, &Items::mnuRescan, "mnuRescan", "Re-Scan"},
    separator(&Menus::mnuscan),
    {&Menus::mnuscan, &Items::mnuscanaddr, "mnuscanaddr", "Scan Addresses"},
    {&Menus::mnuscan, &Items::mnuaddnode, "mnuaddnode", "Add Node"},
    {&Menus::Mnunodes, &Items::mnuslpc, "mnuslpc", "Build Computer Local Optical Drives"},
    {&Menus::Mnunodes, &Items::mnuscansp, "mnuscansp", "Build selected Computer Optical Drives"},
    separator(&Menus::Mnunodes),
    {&Menus::Mnunodes, &Items::mnuwcurnddia, "mnuwcurnddia", "Current Computer Optical Drives Diagnostics Scan"},
    {&Menus::Mnunodes, &Items::mnuelocaldia, "mnuelocaldia", "Local  Computer Optical Drives Diagnostics Scan"},
    separator(&Menus::Mnunodes),
    {&Menus::Mnunodes, &Items::mnuscanlist, "mnuscanlist", "Scan List"},
    {&Menus::mnuadm, &Items::mnusap, "mnusap", "Set Administrator Password"},
    {&Menus::mnuadm, &Items::mnulog, "mnulog", "Logins"},
    {&Menus::mnuadm, &Items::mnustats, "mnustats", "Statistics"},
    {&Menus::mnuconfigure, &Items::mnusettings, "mnusettings", "Settings"},
    {&Menus::mnuconfigure, &Items::mnubk, "mnubk", "Backcolor"},
    {&Menus::mnuconfigure, &Items::mnuRacks, "mnuRacks", "Show Racks"},
    {&Menus::mnuPC, &Items::mnuareset, "mnuareset", "Reset"},
    {&Menus::mnuPC, &Items::mnutest, "mnutest", "Test View"},
    {&Menus::mnuPC, &Items::mnuMove, "mnuMove", "Move", &Menus::mnuMove},
    {&Menus::mnuMove, &Items::mnuUp, "mnuUp", "Up"},
    {&Menus::mnuMove, &Items::mnuLeft, "mnuLeft", "Left"},
    {&Menus::mnuMove, &Items::mnuRight, "mnuRight", "Right"},
    {&Menus::mnuMove, &Items::mnuDown, "mnuDown", "Down"},
    {&Menus::mnuPC, &Items::mnuZoom, "mnuZoom", "Zoom", &Menus::mnuZoom},
    {&Menus::mnuZoom, &Items::mnuIn, "mnuIn", "In"},
    {&Menus::mnuZoom, &Items::mnuOut, "mnuOut", "Out"},
    separator(&Menus::mnuPC),
    {&Menus::mnuPC, &Items::mnudiagallnodes, "mnudiagallnodes", "Diagnose All Nodes"},
    {&Menus::mnuPC, &Items::mnufleet, "mnufleet", "Fleet View"},
};

// Each member is filled by exactly one row: as many distinct rows as members.
template <typename Table, typename Member>
constexpr bool fillsEachOnce(const Table& table, Member member, std::size_t members)
{
    std::size_t filled = 0;
    for (std::size_t i = 0; i < std::size(table); ++i) {
        if (!(table[i].*member))
            continue;
        ++filled;
        for (std::size_t j = 0; j < i; ++j)
            if (table[j].*member == table[i].*member)
                return false;
    }
    return filled == members;
}

static_assert(fillsEachOnce(kMenus, &MenuRow::menu, sizeof(Menus) / sizeof(QMenu*)));
static_assert(fillsEachOnce(kItems, &Row::item, sizeof(Items) / sizeof(QAction*)));

} // namespace

CommandMenus::CommandMenus(QWidget* owner) : QObject(owner)
{
    for (const MenuRow& row : kMenus) {
        auto* m = new QMenu(owner);
        m->setObjectName(row.name);
        menus_.*row.menu = m;
    }
    for (const Row& row : kItems) {
        QMenu* parent = menus_.*row.in;
        if (!row.item) {
            parent->addSeparator();
            continue;
        }
        QAction* a = nullptr;
        if (row.opens) {
            QMenu* sub = menus_.*row.opens;
            sub->setTitle(row.caption);
            a = parent->addMenu(sub);
        } else {
            a = parent->addAction(row.caption);
        }
        a->setObjectName(row.name);
        items_.*row.item = a;
    }
    items_.mnuRacks->setCheckable(true);
    items_.mnuRacks->setChecked(true);
}

void CommandMenus::adjustForSelection(bool localSelected)
{
    items_.mnuScannode->setEnabled(true);
    if (!localSelected)
        items_.mnuscanlocal->setEnabled(false);
    for (QAction* a : {items_.mnucurnddia, items_.mnuscansp, items_.mnuwcurnddia})
        a->setEnabled(!localSelected);
    for (QAction* a : {items_.mnulocaldia, items_.mnuslpc, items_.mnuelocaldia})
        a->setEnabled(localSelected);
}

} // namespace vorlu
