#include "app/InventoryWiring.h"

#include "app/AppState.h"
#include "app/CommandMenus.h"
#include "app/Pictures.h"
#include "app/SceneHooks.h"
#include "app/TreeWidgetView.h"
#include "fleet/ui/FleetProgressDialog.h"
#include "fleet/ui/FleetViewWindow.h"
#include "inventory/ui/InventoryWidgets.h"
#include "inventory/ui/StateGridsWidgets.h"
#include "model/Racks.h"

#include <QAction>

namespace vorlu {

// Units and racks of the model, switched on by the racks rule.
class InventoryWiring::SceneUnits : public ModelUnits {
public:
    explicit SceneUnits(SceneHooks& scene) : scene_(scene) {}
    void hideAllUnits() override { scene_.hideAllUnits(); }
    void showUnitsForDrives(int driveCount, bool showRacks) override
    {
        if (Scene* s = scene_.scene())
            ShowUnitsForDrives(*s, driveCount, showRacks);
    }
    void renderScene() override { scene_.renderScene(); }

private:
    SceneHooks& scene_;
};

// TrView1, opened out as entries arrive: the drives are what the user came for.
class InventoryWiring::ExpandingTree : public TreeView {
public:
    explicit ExpandingTree(TreeWidgetView& tree) : tree_(tree) {}
    void clear() override { tree_.clear(); }
    void addEntry(const std::string& parentKey, const std::string& key, const std::string& text,
                  const std::string& picture, std::size_t tag) override
    {
        tree_.addEntry(parentKey, key, text, picture, tag);
        tree_.expandAll();
    }
    void setVisible(bool visible) override { tree_.setVisible(visible); }

private:
    TreeWidgetView& tree_;
};

InventoryWiring::InventoryWiring(AppState& state, ManagementService& management, SceneHooks& scene, Controls c,
                                 CommandGate& gate, std::function<bool()> ending)
    : units_(std::make_unique<SceneUnits>(scene)), tree_(std::make_unique<ExpandingTree>(c.hardwareTree)),
      grids_(std::make_unique<StateGridsWidgets>(c.grids, c.counters, pictures::treeIcon("ok"),
                                                 [&state] { return state.DpiChecked ? std::optional<bool>(state.StandardDpi) : std::nullopt; })),
      progress_(std::make_unique<FrmConProgress>(c.frmCon)),
      windowView_(std::make_unique<MainWindowInventoryView>(c.window, c.statusMessage))
{
    commands_ = std::make_unique<InventoryScanCommands>(
        InventoryState{state.nodes, state.settings, state.SelectedNode, state.LocalNode, state.flags,
                       state.programFolder, state.drives},
        InventoryServices{management, driveWork_, *progress_, *windowView_, *tree_, *grids_, *units_, gate,
                          ending, [this](std::size_t n) {
                              fleet_->recordStoredDiagnosis(n);
                              if (fleetView_->isVisible())
                                  refreshFleetView();
                          }});
    commands_->setPainter(scene.drivePainter());
    fleetProgress_ = std::make_unique<FleetProgressDialog>(&c.window);
    MainWindowInventoryView& window = *windowView_;
    fleet_ = std::make_unique<FleetCommands>(
        state.nodes, state.settings, state.programFolder,
        FleetServices{management, gate, *fleetProgress_, [&window](const std::string& text) { window.setStatusMessage(text); },
                      [this] { commands_->ShowStoredNode(); }, std::move(ending)});
    fleetView_ = new FleetViewWindow(&c.window, VORLU_VERSION,
                                     [&state, show = std::move(c.showNodeAsTreeDoubleClick)](const std::string& name) {
                                         if (const std::size_t n = state.nodes.findName(name); n && show)
                                             show(n);
                                     });
}

InventoryWiring::~InventoryWiring() = default;

void InventoryWiring::stcol() { grids_->writeHeaders(); }

void InventoryWiring::refreshFleetView()
{
    std::string historyProblem;
    fleetView_->setRows(fleet_->storedRows(&historyProblem));
    fleetView_->showMessage(historyProblem.empty() ? "" : "History not shown: " + historyProblem);
}

void InventoryWiring::connectMenus(CommandMenus& menus)
{
    struct Item {
        QAction* action;
        bool (InventoryScanCommands::*run)();
    };
    const CommandMenus::Items& items = menus.item();
    for (const Item& it : {Item{items.mnuscansp, &InventoryScanCommands::BuildSelected},
                           Item{items.mnuScannode, &InventoryScanCommands::ScanNode},
                           Item{items.mnuslpc, &InventoryScanCommands::BuildLocal},
                           Item{items.mnuscanlocal, &InventoryScanCommands::ScanLocal},
                           Item{items.mnuwcurnddia, &InventoryScanCommands::DiagnoseSelected},
                           Item{items.mnucurnddia, &InventoryScanCommands::CurrentDiagnostics},
                           Item{items.mnuelocaldia, &InventoryScanCommands::DiagnoseLocal},
                           Item{items.mnulocaldia, &InventoryScanCommands::LocalDiagnostics}}) {
        const auto run = it.run;
        QObject::connect(it.action, &QAction::triggered, menus.parent(),
                         [this, run] { (commands_.get()->*run)(); });
    }
    for (QAction* diagnoseAll : {items.mnudiagall, items.mnudiagallnodes})
        QObject::connect(diagnoseAll, &QAction::triggered, menus.parent(), [this] {
            if (fleet_->DiagnoseAll())
                refreshFleetView();
        });
    QObject::connect(items.mnufleet, &QAction::triggered, menus.parent(), [this] {
        refreshFleetView();
        fleetView_->show();
        fleetView_->raise();
    });
}

} // namespace vorlu
