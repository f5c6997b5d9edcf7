#pragma once
#include "app/AppState.h"
#include "app/ResizeLayout.h"
#include "app/SceneHooks.h"
#include "commands/RepaintPace.h"
#include "commands/CommandGate.h"
#include "network/NetworkScanState.h"
#include "platform/Platform.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QTableWidget;
class QTreeWidget;

namespace vorlu {

class AdminCommands;
class ClickLabel;
class CommandMenus;
class FrmCon;
class Frmabt;
class UserGuideWindow;
class Frmlgin;
class FrmStart;
class TreeWidgetView;
class FrmConScanList;
class NetworkDiscovery;
class NetworkScanCommands;
class MenuNetworkSwitches;
class BackgroundColourCommand;
class DetailPanel;
class PartSelection;
class DrivePainter;
class InventoryWiring;

enum class KeyCommand;

// The main window: command bar, legend bar, model view, detail panel, node
// and hardware trees, status bar and state grids, and the program's state.
class Frmmain : public QWidget {
    Q_OBJECT
public:
    Frmmain(Platform& platform, std::filesystem::path programFolder, SceneHooks& scene, QWidget* parent = nullptr);
    ~Frmmain() override;

    // Told the settings' transport when the settings file has been read and at
    // each change in the settings dialog; set it before the load step.
    void setTransportListener(std::function<void(const RemoteTransport&)> listener)
    {
        transportListener_ = std::move(listener);
    }

    // The load step: settings, node file, trees, device and model, reporting
    // progress in the start-up window, which it closes at the end.
    void loadStep(FrmStart* start);
    // Writes the node file and the settings file and ends the program. While a
    // command runs it refuses with a status text instead, so that no
    // half-built table is saved; false then.
    bool shutdown();
    // "Support": the user guide in the desktop's browser, or in a window of its own.
    void openSupport();
    // Ends the program, writing nothing, and starts it again with the same
    // arguments: the end of a first network scan and of the settings' Reset.
    void restartProgram();

    AppState& state() { return state_; }
    bool endingProgram() const { return endingProgram_; }
    // The status the program ends with once endingProgram() is set.
    int exitStatus() const { return exitStatus_; }
    CommandMenus& menus() { return *menus_; }
    FrmCon& frmCon();
    Frmlgin& loginDialog() { return *login_; }
    AdminCommands& adminCommands() { return *admin_; }
    TreeWidgetView& nodeTree() { return *nodeTreeView_; }
    TreeWidgetView& hardwareTree() { return *hardwareTreeView_; }
    QWidget* modelView() const { return picGR_; }
    InventoryWiring& inventory() { return *inventory_; }
    // The model's side of the drive states; until it is set the parts stay as they are.

    void label6Clicked(int index);
    // The same with the popup placed at popupAt (global), as the keyboard opens it.
    void label6Clicked(int index, const QPoint& popupAt);
    void image1Clicked(int index);
    void nodeTreeClicked();
    void nodeTreeDoubleClicked();
    // As a double-click on node n's entry in the node tree, the entry becoming current.
    void doubleClickNode(std::size_t n);
    // Mouse-down: selection as it was before the press; the right button pops up the node menu.
    void nodeTreeMouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void scanListOk();
    void applyLargeFontLayout();
    void setBackgroundColour(std::int32_t rgb);
    void setCameraDepth(float z);
    // Header row of the three state grids, and their column widths once the
    // screen density is known.
    void stcol();
    // Empties grids, counters and the drive table and restores the painted parts.
    void clr_meshes();
    // Mouse-down on PicGR, after the view has started the drag.
    void picGRMouseDown(double x, double y);
    DetailPanel& detailPanel() { return *detailPanel_; }
    const PartSelection* selection() const { return selection_.get(); }

    void yield();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCommandBar();
    void buildLegendBar();
    void buildDetailPanel();
    void buildWorkArea();
    void buildStatusBar();
    void applyDesignLayout();
    // The layout just applied becomes the one resizing starts from.
    void captureDesign();
    void applyResizeLayout();
    void connectCommands();
    void buildNetworkCommands();
    void buildAdminCommands();
    void connectViewCommands();
    void connectKeyboard();
    void runKeyCommand(KeyCommand command);
    void rebuildTree();
    void reportSaveFailure(const std::string& error);
    void reportLoadFailure(const std::string& error);
    void refreshBarPictures();
    void selectFromTree();
    // The status bar's node, address and name of the selected node.
    void showSelectedNodeLabels();
    void showView(int legendIndex);
    void showAbout();
    void resizeEvent(QResizeEvent* event) override;

    Platform& platform_;
    SceneHooks& scene_;
    AppState state_;
    bool endingProgram_ = false;
    int exitStatus_ = 0;
    // A file that is there but could not be read at start-up is left as it
    // is at exit instead of being replaced by the defaults used meanwhile.
    bool keepNodeFile_ = false;
    bool keepSettingsFile_ = false;
    bool closeRequested_ = false; // Exit or the close box came while a command held the gate
    std::function<void(const RemoteTransport&)> transportListener_;

    CommandMenus* menus_ = nullptr;
    QLabel* picture1_ = nullptr;
    QLabel* picture4_ = nullptr;
    QLabel* picture2_ = nullptr;
    QWidget* picture3_ = nullptr;
    QWidget* picGR_ = nullptr;
    QTreeWidget* treeView1_ = nullptr;
    QTreeWidget* trView1_ = nullptr;
    std::array<ClickLabel*, 10> label6_{};
    std::array<ClickLabel*, 8> image1_{};
    std::array<QTableWidget*, 3> grids_{}; // gridgreen, gridamber, gridred
    std::array<QLabel*, 3> counters_{};     // lblgreen, lblamber, lblred
    QLabel* driveId_ = nullptr;
    std::array<QLabel*, 3> selectedNode_{}; // Label2, Label3, Label4: the node, its address, its name
    QLabel* statusMessage_ = nullptr;   // the status bar's message line
    std::unique_ptr<DetailPanel> detailPanel_;
    std::unique_ptr<PartSelection> selection_;
    FrmCon* frmCon_ = nullptr;
    Frmabt* about_ = nullptr;
    UserGuideWindow* guideWindow_ = nullptr;
    Frmlgin* login_ = nullptr;
    std::unique_ptr<TreeWidgetView> nodeTreeView_;
    std::unique_ptr<TreeWidgetView> hardwareTreeView_;
    std::unique_ptr<TreeWidgetView> loginTreeView_;

    // Network scan commands.
    CommandGate gate_;
    NetworkScanState networkState_;
    std::unique_ptr<FrmConScanList> scanListView_;
    std::unique_ptr<MenuNetworkSwitches> networkMenu_;
    std::unique_ptr<NetworkDiscovery> discovery_;
    std::unique_ptr<NetworkScanCommands> networkCommands_;
    std::unique_ptr<BackgroundColourCommand> backColour_;
    std::unique_ptr<InventoryWiring> inventory_;
    std::unique_ptr<AdminCommands> admin_;
    std::unique_ptr<WorkAreaRects> designedRects_;
    QSize designedClient_;
    RepaintPace repaintPace_;
};

} // namespace vorlu
