#pragma once
#include "commands/BackgroundWork.h"
#include "fleet/FleetCommands.h"
#include "inventory/InventoryScanCommands.h"

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QTableWidget;
class QWidget;

namespace vorlu {

struct AppState;
class CommandMenus;
class FrmCon;
class SceneHooks;
class TreeWidgetView;
class StateGridsWidgets;
class FrmConProgress;
class MainWindowInventoryView;
class FleetProgressDialog;
class FleetViewWindow;

// The drive scan commands with the main window's controls and the model
// behind their view interfaces, and the menu items that run them.
class InventoryWiring {
public:
    struct Controls {
        QWidget& window;
        FrmCon& frmCon;
        TreeWidgetView& hardwareTree;
        std::array<QTableWidget*, 3> grids;  // green, amber, red
        std::array<QLabel*, 3> counters;     // green, amber, red
        QLabel& statusMessage;
        // Shows node n as a double-click on its entry in the node tree does.
        std::function<void(std::size_t n)> showNodeAsTreeDoubleClick;
    };

    InventoryWiring(AppState& state, ManagementService& management, SceneHooks& scene, Controls controls,
                    CommandGate& gate, Yield yield, std::function<bool()> ending);
    ~InventoryWiring();

    // mnuscansp (also the toolbar's "Scan Current Node"), mnuScannode, mnuslpc,
    // mnuscanlocal, mnuwcurnddia, mnucurnddia, mnuelocaldia, mnulocaldia, and
    // "Diagnose All Nodes" of both menus and "Fleet View".
    void connectMenus(CommandMenus& menus);

    InventoryScanCommands& commands() { return *commands_; }
    FleetCommands& fleet() { return *fleet_; }
    FleetViewWindow& fleetView() { return *fleetView_; }
    // The header row and, once the screen density is known, the column widths.
    void stcol();

private:
    // Refilled from what the program folder keeps: every node, whether this
    // session ran Diagnose All or not, or a cancel stopped it.
    void refreshFleetView();

    class SceneUnits;
    class ExpandingTree;

    BackgroundWork runner_;
    std::unique_ptr<SceneUnits> units_;
    std::unique_ptr<ExpandingTree> tree_;
    std::unique_ptr<StateGridsWidgets> grids_;
    std::unique_ptr<FrmConProgress> progress_;
    std::unique_ptr<MainWindowInventoryView> windowView_;
    std::unique_ptr<InventoryScanCommands> commands_;
    std::unique_ptr<FleetProgressDialog> fleetProgress_;
    std::unique_ptr<FleetCommands> fleet_;
    FleetViewWindow* fleetView_ = nullptr; // owned by the main window
};

} // namespace vorlu
