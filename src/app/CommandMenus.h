#pragma once
#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace vorlu {

// The hidden top-level menus that the command bar and the node tree pop up.
// Members are named by their control names, which are also their objectNames.
class CommandMenus : public QObject {
    Q_OBJECT
public:
    struct Menus {
        QMenu* mnumain = nullptr;
        QMenu* mnunw = nullptr;
        QMenu* mnuscan = nullptr;
        QMenu* Mnunodes = nullptr;
        QMenu* mnuadm = nullptr;
        QMenu* mnuconfigure = nullptr;
        QMenu* mnuPC = nullptr;
        QMenu* mnuMove = nullptr; // submenus of mnuPC
        QMenu* mnuZoom = nullptr;
    };

    struct Items {
        QAction* mnuUG = nullptr; // mnumain
        QAction* mnuabt = nullptr;
        QAction* mnuexit = nullptr;
        QAction* mnuaddlogin = nullptr; // mnunw
        QAction* mnureset = nullptr;
        QAction* mnuScannode = nullptr;
        QAction* mnuscanlocal = nullptr;
        QAction* mnucurnddia = nullptr;
        QAction* mnulocaldia = nullptr;
        QAction* mnudiagall = nullptr;
        QAction* mnunodeconn = nullptr;
        QAction* mnunwscan = nullptr; // mnuscan
        QAction* mnuRescan = nullptr;
        QAction* mnuscanaddr = nullptr;
        QAction* mnuaddnode = nullptr;
        QAction* mnuslpc = nullptr; // Mnunodes
        QAction* mnuscansp = nullptr;
        QAction* mnuwcurnddia = nullptr;
        QAction* mnuelocaldia = nullptr;
        QAction* mnuscanlist = nullptr;
        QAction* mnusap = nullptr; // mnuadm
        QAction* mnulog = nullptr;
        QAction* mnustats = nullptr;
        QAction* mnusettings = nullptr; // mnuconfigure
        QAction* mnubk = nullptr;
        QAction* mnuRacks = nullptr;
        QAction* mnuareset = nullptr; // mnuPC
        QAction* mnutest = nullptr;
        QAction* mnuMove = nullptr; // opens the submenu mnuMove
        QAction* mnuUp = nullptr;
        QAction* mnuLeft = nullptr;
        QAction* mnuRight = nullptr;
        QAction* mnuDown = nullptr;
        QAction* mnuZoom = nullptr; // opens the submenu mnuZoom
        QAction* mnuIn = nullptr;
        QAction* mnuOut = nullptr;
        QAction* mnudiagallnodes = nullptr;
        QAction* mnufleet = nullptr;
    };

    explicit CommandMenus(QWidget* owner);

    const Menus& menu() const { return menus_; }
    const Items& item() const { return items_; }

    // Items that depend on whether the selected node is this computer.
    void adjustForSelection(bool localSelected);

private:
    Menus menus_;
    Items items_;
};

} // namespace vorlu
