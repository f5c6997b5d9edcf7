#include "app/MainWindow.h"

#include "app/AddressWiring.h"
#include "app/ClickLabel.h"
#include "app/CommandMenus.h"
#include "app/DetailPanel.h"
#include "app/Frmabt.h"
#include "app/FrmStart.h"
#include "app/InventoryWiring.h"
#include "app/ModelViewPlaceholder.h"
#include "app/TreeWidgetView.h"
#include "platform/ui/Twips.h"
#include "app/UserGuide.h"
#include "app/UserGuideWindow.h"
#include "app/WindowGeometry.h"
#include "dialogs/AdminCommands.h"
#include "dialogs/FrmColor.h"
#include "drives/DrivePainter.h"
#include "model/PartSelection.h"
#include "inventory/ui/StateGridLayout.h"
#include "dialogs/Frmlgin.h"
#include "network/ui/FrmCon.h"
#include "network/ui/FrmConScanList.h"
#include "network/NetworkDiscovery.h"
#include "network/NetworkMenu.h"
#include "network/NetworkScanCommands.h"
#include "network/NodeFileLoader.h"
#include "network/NodeTree.h"
#include "network/NetworkTexts.h"
#include "nodes/NodeFile.h"
#include "platform/Log.h"
#include "platform/ui/BusyCursor.h"
#include "scene/ui/ModelView.h"
#include "scene/Scene.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QTableWidget>
#include <QTreeWidget>

namespace vorlu {

// "Network Scan" and "Re-Scan" as the network commands switch them; the
// toolbar's Re-Scan area runs the same item.
class MenuNetworkSwitches : public NetworkMenu {
public:
    explicit MenuNetworkSwitches(CommandMenus& menus) : menus_(menus) {}
    void setNetworkScanEnabled(bool enabled) override { menus_.item().mnunwscan->setEnabled(enabled); }
    void setRescanEnabled(bool enabled) override { menus_.item().mnuRescan->setEnabled(enabled); }

private:
    CommandMenus& menus_;
};

Frmmain::Frmmain(Platform& platform, std::filesystem::path programFolder, SceneHooks& scene, QWidget* parent)
    : QWidget(parent), platform_(platform), scene_(scene)
{
    state_.programFolder = std::move(programFolder);
    setObjectName("Frmmain");
    setWindowTitle("Vorlu Optical");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 234, 242));
    setPalette(pal);

    menus_ = new CommandMenus(this);
    buildCommandBar();
    buildLegendBar();
    buildWorkArea();
    buildDetailPanel();
    buildStatusBar();
    applyDesignLayout();
    // The bars sit above the work area; the grids cover it when shown.
    picture1_->raise();
    picture4_->raise();

    nodeTreeView_ = std::make_unique<TreeWidgetView>(treeView1_);
    hardwareTreeView_ = std::make_unique<TreeWidgetView>(trView1_);
    treeView1_->viewport()->installEventFilter(this);
    connect(treeView1_, &QTreeWidget::itemClicked, this, [this] { nodeTreeClicked(); });
    connect(treeView1_, &QTreeWidget::itemDoubleClicked, this, [this] { nodeTreeDoubleClicked(); });
    frmCon_ = new FrmCon(this);
    frmCon_->setWindowFlag(Qt::Window);
    frmCon_->onOk = [this] { scanListOk(); };
    gate_.released = [this] {
        if (closeRequested_)
            QTimer::singleShot(0, this, [this] { shutdown(); });
    };
    buildNetworkCommands();
    frmCon_->onCancel = [this] {
        networkCommands_->DialogCancelled();
        if (inventory_)
            inventory_->commands().cancel();
        addresses_->commands().DialogCancelled();
    };
    inventory_ = std::make_unique<InventoryWiring>(
        state_, *platform_.management, scene_,
        InventoryWiring::Controls{*this, *frmCon_, *hardwareTreeView_, grids_, counters_, *statusMessage_,
                                  [this](std::size_t n) { doubleClickNode(n); },
                                  [this](std::size_t) { showingNewNode(); }},
        gate_, [this] { return endingProgram_ || closeRequested_; });
    inventory_->connectMenus(*menus_);
    buildAdminCommands();
    connectCommands();
    connectViewCommands();
    if (Scene* s = scene_.scene()) {
        selection_ = std::make_unique<PartSelection>(*s, state_.drives.table, *detailPanel_);
        if (auto* view = qobject_cast<ModelView*>(picGR_))
            connect(view, &ModelView::mousePressed, this,
                    [this](Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y) {
                        picGRMouseDown(x, y);
                    });
    }
    connectKeyboard();
}

Frmmain::~Frmmain() = default;


void Frmmain::buildNetworkCommands()
{
    scanListView_ = std::make_unique<FrmConScanList>(*frmCon_);
    networkMenu_ = std::make_unique<MenuNetworkSwitches>(*menus_);
    const NetworkContext context{state_.nodes, state_.flags, networkState_, *scanListView_, *platform_.messages};
    discovery_ = std::make_unique<NetworkDiscovery>(context, repaintPace_, *platform_.enumerator, *platform_.sockets,
                                                    *nodeTreeView_);
    networkCommands_ = std::make_unique<NetworkScanCommands>(context, repaintPace_, *discovery_, *networkMenu_, gate_,
                                                             [this] { rebuildTree(); });
    addresses_ = std::make_unique<AddressWiring>(
        context, repaintPace_, gate_, *this, *platform_.sockets, state_.programFolder,
        [this] { return state_.settings.transport; }, [this] { rebuildTree(); });
    addresses_->connectMenus(*menus_, [this] { return state_.LocalAddress; }, [this] { return state_.SelectedNode; });
}

void Frmmain::rebuildTree()
{
    nodeTreeView_->clear();
    rebuildNetworkTree(state_.nodes, *nodeTreeView_, state_.programFolder, [this] { yield(); },
                       [this](const std::string& s) { frmCon_->setStatus(s); }, *platform_.messages);
    nodeTreeView_->expandAll();
}

void Frmmain::yield() { repaintPace_.yield(); }

FrmCon& Frmmain::frmCon() { return *frmCon_; }

void Frmmain::connectCommands()
{
    connect(menus_->item().mnuexit, &QAction::triggered, this, [this] { shutdown(); });
    connect(menus_->item().mnuabt, &QAction::triggered, this, [this] { showAbout(); });
    connect(menus_->item().mnuUG, &QAction::triggered, this, [this] { openSupport(); });
    connect(menus_->item().mnunwscan, &QAction::triggered, this, [this] { networkCommands_->NetworkScan(); });
    connect(menus_->item().mnuRescan, &QAction::triggered, this, [this] { networkCommands_->ReScan(); });
    connect(menus_->item().mnuscanlist, &QAction::triggered, this, [this] { networkCommands_->ScanList(); });
}

void Frmmain::connectViewCommands()
{
    struct Move {
        QAction* item;
        CameraMove move;
    };
    const CommandMenus::Items& items = menus_->item();
    for (const Move& m : {Move{items.mnuLeft, CameraMove::Left}, Move{items.mnuRight, CameraMove::Right},
                          Move{items.mnuUp, CameraMove::Up}, Move{items.mnuDown, CameraMove::Down},
                          Move{items.mnuIn, CameraMove::In}, Move{items.mnuOut, CameraMove::Out}}) {
        const CameraMove move = m.move;
        connect(m.item, &QAction::triggered, this, [this, move] {
            if (Scene* s = scene_.scene())
                s->MoveCamera(move);
        });
    }
    for (const bool show : {true, false}) {
        connect(show ? items.mnutest : items.mnuareset, &QAction::triggered, this, [this, show] {
            if (Scene* s = scene_.scene()) {
                show ? s->ShowAllUnits() : s->HideAllUnits();
                // Reset also brings back the camera of the settings, wherever the user left it.
                if (!show)
                    s->ResetCamera({state_.settings.CameraEye.x, state_.settings.CameraEye.y, -10.0f});
                s->RenderScene();
            }
        });
    }
    // The item is checkable, so its new check mark is the new option.
    connect(menus_->item().mnuRacks, &QAction::triggered, this,
            [this](bool checked) { state_.settings.ShowRacks = checked; });
    backColour_ = std::make_unique<BackgroundColourCommand>(this, [this](std::int32_t rgb) { setBackgroundColour(rgb); });
    connect(menus_->item().mnubk, &QAction::triggered, this, [this] { backColour_->run(); });
}

void Frmmain::loadStep(FrmStart* start)
{
    state_.LocalAddress = platform_.localAddress->localAddress();
    state_.settings.WmiNamespace = DefaultNamespace;
    if (start)
        start->showStep(1, "Loading ini...");

    state_.settings.ShowRacks = true;
    std::string readError;
    readSettingsFile(state_.programFolder / SettingsFileName, state_.settings, &readError);
    if (!readError.empty()) {
        keepSettingsFile_ = true;
        reportLoadFailure(readError);
    }
    if (platform_.secrets && !keyring_)
        keyring_ = std::make_unique<KeyringPasswords>(*platform_.secrets, state_.programFolder);
    readKeyringPasswords(nullptr); // the administrator's, before the dialogs are filled
    admin_->settingsRead();
    menus_->item().mnuRacks->setChecked(state_.settings.ShowRacks);
    setBackgroundColour(state_.settings.BackgroundColour);
    if (Scene* s = scene_.scene()) {
        s->CameraEye.x = state_.settings.CameraEye.x;
        s->CameraEye.y = state_.settings.CameraEye.y;
    }
    yield();
    if (start)
        start->showStep(2, "Loading network...");

    const NodeFileLoad load = loadNodeFile(state_.programFolder, state_.nodes, state_.settings.NodeLabelMode,
                                           state_.LocalAddress, *nodeTreeView_, loginTreeView_.get(), [this] { yield(); });
    nodeTreeView_->expandAll();
    loginTreeView_->expandAll();
    state_.nodeFileExisted = load.existed;
    if (!load.readError.empty()) {
        keepNodeFile_ = true;
        reportLoadFailure(load.readError);
    }
    state_.LocalNode = load.localNode;
    readKeyringPasswords(&state_.nodes);
    networkCommands_->setInitialMenuState(load.existed);
    addresses_->commands().loadConnections();

    // From here on the window is shown, so an Exit or a window close can run
    // the shutdown inside any yield; the loading must stop there.
    const bool placed = restoreWindowGeometry(*this, state_.programFolder / WindowFileName);
    show();
    yield();
    if (endingProgram_)
        return;
    if (!scene_.probeDevice(picGR_)) {
        platform_.messages->show("Unable to initialize 3D device!", "", MessageIcon::None);
        endingProgram_ = true;
        exitStatus_ = 1;
        platform_.programEnd->endProgram(1);
        return;
    }
    stcol();
    state_.StandardDpi = isStandardDpi(logicalDpiX(), devicePixelRatioF());
    state_.DpiChecked = true;
    // Qt scales the designed layout with the screen and its fonts, so a
    // high-resolution screen keeps it; the window only has to fit the screen.
    if (!placed)
        fitToScreen(*this);
    scene_.locateMediaFolder();
    setCameraDepth(-10.0f);
    yield();
    if (endingProgram_)
        return;
    if (!scene_.createSceneDevice(picGR_)) {
        // No device at all: the device code has told the user and ended the program.
        endingProgram_ = true;
        exitStatus_ = 1;
        return;
    }
    scene_.applySceneDefaults();
    setCameraDepth(-10.0f);
    if (start)
        start->showStep(3, "Loading...");
    scene_.loadModel();
    yield();
    if (start) {
        start->showStep(4, {});
        start->close();
    }
}

bool Frmmain::shutdown()
{
    if (endingProgram_)
        return true;
    if (gate_.busy()) {
        // Nothing half-built is saved: the close waits until the command has let go of the gate.
        frmCon().setStatus(CommandGate::busyText);
        closeRequested_ = true;
        return false;
    }
    endingProgram_ = true;
    if (Scene* s = scene_.scene())
        state_.settings.CameraEye = {s->CameraEye.x, s->CameraEye.y, s->CameraEye.z};
    std::string error;
    const KeyringPasswords::FileForms forms = fileForms();
    if (!keepNodeFile_ && !saveNodeFile(state_.programFolder / NodeFileName, forms.nodes, NodeFileForm::Plain, &error))
        reportSaveFailure(error);
    if (!keepSettingsFile_ && !writeSettingsFile(state_.programFolder / SettingsFileName, forms.settings, &error))
        reportSaveFailure(error);
    if (!saveWindowGeometry(*this, state_.programFolder / WindowFileName, &error))
        reportSaveFailure(error);
    platform_.programEnd->endProgram(0);
    return true;
}

void Frmmain::reportSaveFailure(const std::string& error)
{
    // The previous file is still whole; the user must know this run's changes are not in it. The writer
    // has logged it.
    platform_.messages->show("Unable to save: " + error, MessageTitle, MessageIcon::Warning);
}

void Frmmain::reportLoadFailure(const std::string& error)
{
    qCWarning(lcNodes, "%s; the file is left as it is", error.c_str());
    // The program goes on with an empty table or the defaults; the file keeps what it holds.
    platform_.messages->show("Unable to load: " + error, MessageTitle, MessageIcon::Warning);
}

void Frmmain::closeEvent(QCloseEvent* event)
{
    // Closing the window runs the shutdown instead of a plain close.
    event->ignore();
    shutdown();
}

void Frmmain::setBackgroundColour(std::int32_t rgb)
{
    state_.settings.BackgroundColour = rgb;
    if (auto* placeholder = qobject_cast<ModelViewPlaceholder*>(picGR_))
        placeholder->setBackgroundColour(rgb);
    if (Scene* s = scene_.scene()) {
        s->BackgroundColour = static_cast<std::uint32_t>(rgb);
        s->RenderScene();
    }
}

void Frmmain::setCameraDepth(float z)
{
    state_.settings.CameraEye.z = z;
    if (Scene* s = scene_.scene())
        s->CameraEye.z = z;
}

void Frmmain::stcol()
{
    inventory_->stcol();
    yield();
}

void Frmmain::clr_meshes()
{
    inventory_->commands().resetResults();
    yield();
}

void Frmmain::picGRMouseDown(double x, double y)
{
    if (!selection_)
        return;
    selection_->mouseDown(scene_.modelContainer(), x, y);
    markDriveEntry();
}

void Frmmain::label6Clicked(int index) { label6Clicked(index, QCursor::pos()); }

void Frmmain::label6Clicked(int index, const QPoint& popupAt)
{
    menus_->adjustForSelection(state_.SelectedNode == state_.LocalNode);
    using M = CommandMenus::Menus;
    static constexpr QMenu* M::*popups[10] = {&M::mnumain, &M::mnuscan,      nullptr, &M::Mnunodes, &M::mnuPC,
                                              &M::mnuadm,  &M::mnuconfigure, nullptr, nullptr,      nullptr};
    if (index < 0 || index > 9)
        return;
    if (QMenu* M::*popup = popups[index]) {
        (menus_->menu().*popup)->popup(popupAt);
        return;
    }
    showView(index);
}

void Frmmain::showView(int legendIndex)
{
    const bool sensors = legendIndex == 2;
    for (QWidget* w : {picGR_, picture3_, static_cast<QWidget*>(treeView1_), static_cast<QWidget*>(trView1_)})
        w->setVisible(sensors);
    static const int legendOf[3] = {7, 8, 9};
    static const QColor active[3] = {QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
    for (int i = 0; i < 3; ++i) {
        grids_[static_cast<std::size_t>(i)]->setVisible(legendIndex == legendOf[i]);
        QPalette p = label6_[static_cast<std::size_t>(legendOf[i])]->palette();
        p.setColor(QPalette::WindowText, legendIndex == legendOf[i] ? active[i] : QColor(Qt::white));
        label6_[static_cast<std::size_t>(legendOf[i])]->setPalette(p);
    }
    QPalette p = label6_[2]->palette();
    p.setColor(QPalette::WindowText, sensors ? QColor(192, 192, 255) : QColor(Qt::white));
    label6_[2]->setPalette(p);
}

void Frmmain::image1Clicked(int index)
{
    using I = CommandMenus::Items;
    static constexpr QAction* I::*commands[8] = {&I::mnuLeft, &I::mnuRight, &I::mnuDown,   &I::mnuUp,
                                                 &I::mnuIn,   &I::mnuOut,   &I::mnuscansp, &I::mnuRescan};
    if (index < 0 || index > 7)
        return;
    // As if the menu item had been chosen, whether or not it is enabled.
    emit (menus_->item().*commands[index])->triggered(false);
}

void Frmmain::selectFromTree()
{
    const QString tag = TreeWidgetView::tagOf(treeView1_->currentItem());
    state_.SelectedNode = selectedNodeFromTag(tag.toStdString(), state_.nodes.count());
}

void Frmmain::nodeTreeClicked()
{
    selectFromTree();
    showSelectedNodeLabels();
}

void Frmmain::showingNewNode()
{
    // One node and one moment: the drive shown in the panel belonged to the node or run before.
    detailPanel_->clearDrive();
    if (selection_)
        selection_->forgetDrive();
    showSelectedNodeLabels();
}

void Frmmain::showSelectedNodeLabels()
{
    if (state_.SelectedNode == 0)
        return;
    const NodeRecord& r = state_.nodes.at(state_.SelectedNode);
    selectedNode_[0]->setText(QString::fromStdString(r.Node));
    selectedNode_[1]->setText(QString::fromStdString(r.IP));
    selectedNode_[2]->setText(QString::fromStdString(r.Name));
}

void Frmmain::nodeTreeDoubleClicked()
{
    selectFromTree();
    inventory_->commands().ShowStoredNode();
}

void Frmmain::doubleClickNode(std::size_t n)
{
    raise();
    activateWindow();
    QTreeWidgetItem* entry = nodeTreeView_->entry(nodeKey(n));
    if (!entry) {
        // A node the tree does not list (one switched off): shown all the same, with no entry current.
        treeView1_->setCurrentItem(nullptr);
        state_.SelectedNode = n;
        showSelectedNodeLabels();
        inventory_->commands().ShowStoredNode();
        return;
    }
    treeView1_->setCurrentItem(entry);
    treeView1_->scrollToItem(entry);
    // A double-click's first press is a click.
    nodeTreeClicked();
    nodeTreeDoubleClicked();
}

void Frmmain::nodeTreeMouseDown(Qt::MouseButton button, const QPoint& globalPos)
{
    selectFromTree();
    if (button == Qt::RightButton) {
        menus_->menu().mnunw->popup(globalPos);
    }
}

bool Frmmain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == treeView1_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton) {
            // The menu acts on the node under the cursor; on empty space there is nothing to act on.
            QTreeWidgetItem* under = treeView1_->itemAt(me->position().toPoint());
            if (!under)
                return true;
            treeView1_->setCurrentItem(under);
        }
        nodeTreeMouseDown(me->button(), me->globalPosition().toPoint());
        // The right press has selected already; the view must not start a drag or an edit.
        return me->button() == Qt::RightButton;
    }
    return QWidget::eventFilter(watched, event);
}

void Frmmain::scanListOk()
{
    // Saving a half-built table and ending would lose the scan.
    if (gate_.busy()) {
        frmCon_->setStatus(CommandGate::busyText);
        return;
    }
    if (vorlu::scanListOk(state_.flags) == ScanListOkAction::Hide) {
        frmCon().hide();
        return;
    }
    rebuildTree();
    std::string error;
    if (!saveNodeFile(state_.programFolder / NodeFileName, fileForms().nodes, NodeFileForm::Reset, &error))
        reportSaveFailure(error);
    platform_.messages->show("Restart program to make network changes... ", RestartMessageTitle,
                             MessageIcon::Question);
    restartProgram();
}

void Frmmain::restartProgram()
{
    endingProgram_ = true;
    if (platform_.restart)
        platform_.restart->restartProgram();
    else
        platform_.programEnd->endProgram(0);
}

void Frmmain::showAbout()
{
    if (!about_) {
        about_ = new Frmabt(this);
        about_->setWindowFlag(Qt::Window);
    }
    about_->show();
    about_->raise();
}

void Frmmain::openSupport()
{
    const std::string url = userGuideUrl();
    if (platform_.web->open(url))
        return;
    if (!guideWindow_)
        guideWindow_ = new UserGuideWindow(this);
    guideWindow_->showGuide(QString::fromStdString(url));
}

} // namespace vorlu
