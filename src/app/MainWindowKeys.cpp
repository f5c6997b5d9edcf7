// Keyboard and hints of the main window: shortcuts, tooltips, the Tab chain
// and the node tree's keys.
#include "app/MainWindow.h"

#include "app/ClickLabel.h"
#include "app/CommandMenus.h"
#include "app/Shortcuts.h"
#include "app/TreeWidgetView.h"
#include "inventory/InventoryReport.h"
#include "model/PartSelection.h"

#include <QAction>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace vorlu {

void Frmmain::connectKeyboard()
{
    installKeyBindings(*this, [this](KeyCommand c) { runKeyCommand(c); });
    for (int i : {0, 1, 3, 4, 5, 6})
        label6_[static_cast<std::size_t>(i)]->setToolTip(commandLabelTip(i));
    label6_[2]->setToolTip("Show the model, the drive details and the trees");
    label6_[7]->setToolTip("List the drives in state OK");
    label6_[8]->setToolTip("List the drives with warnings");
    label6_[9]->setToolTip("List the drives with errors");

    picGR_->setFocusPolicy(Qt::StrongFocus);
    picture3_->setFocusPolicy(Qt::TabFocus);
    setTabOrder(treeView1_, trView1_);
    setTabOrder(trView1_, picGR_);
    setTabOrder(picGR_, picture3_);

    // Moving through the nodes with the keys selects as a click does.
    connect(treeView1_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current)
            nodeTreeClicked();
    });
    installReturnAsDoubleClick(*treeView1_, [this] {
        if (treeView1_->currentItem())
            nodeTreeDoubleClicked();
    });

    // A drive's entry in the hardware tree, clicked or reached with the arrows, shows the drive as a click
    // on its tray does: the model is not the only way to a drive.
    connect(trView1_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        const std::string key = hardwareTreeView_->keyOf(current);
        for (std::size_t k = 1; selection_ && !key.empty() && k <= MaxShownDrives; ++k)
            if (key == driveEntryKey(k))
                selection_->selectUnit(static_cast<int>(k));
    });
}

void Frmmain::markDriveEntry()
{
    // The tray clicked and the tree agree on the drive shown.
    const int unit = selection_ ? selection_->SelectedUnit() : 0;
    QTreeWidgetItem* entry = unit > 0 ? hardwareTreeView_->entry(driveEntryKey(static_cast<std::size_t>(unit))) : nullptr;
    if (entry && trView1_->currentItem() != entry) {
        const QSignalBlocker quiet(trView1_);
        trView1_->setCurrentItem(entry);
    }
}

void Frmmain::runKeyCommand(KeyCommand command)
{
    if (const int label = popupLabel(command); label >= 0) {
        const QWidget* caption = label6_[static_cast<std::size_t>(label)];
        label6Clicked(label, caption->mapToGlobal(QPoint(0, caption->height())));
        return;
    }
    switch (command) {
    case KeyCommand::Exit: shutdown(); break;
    case KeyCommand::Help: openSupport(); break;
    case KeyCommand::Rescan:
        if (QAction* rescan = menus_->item().mnuRescan; rescan->isEnabled())
            rescan->trigger();
        break;
    default: break;
    }
}

} // namespace vorlu
