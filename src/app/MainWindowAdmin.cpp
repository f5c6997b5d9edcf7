// The administration commands on the main window: their menu items, the
// login dialog's tree and the node tree's "pw" picture.
#include "app/CommandMenus.h"
#include "app/MainWindow.h"
#include "app/TreeWidgetView.h"
#include "dialogs/AdminCommands.h"
#include "dialogs/Frmlgin.h"
#include "network/NodeTree.h"

namespace vorlu {

void Frmmain::buildAdminCommands()
{
    AdminContext context{state_.nodes,
                         state_.settings,
                         state_.SelectedNode,
                         state_.programFolder,
                         *platform_.messages,
                         [this] { yield(); },
                         [this](std::size_t n) { nodeTreeView_->setPicture(nodeKey(n), "pw"); },
                         [this](std::size_t n) { return loginTreeView_->entry(nodeKey(n)); },
                         [this] {
                             endingProgram_ = true;
                             restartProgram();
                         },
                         [this](const RemoteTransport& t) {
                             if (transportListener_)
                                 transportListener_(t);
                         }};
    admin_ = std::make_unique<AdminCommands>(std::move(context), this);
    login_ = &admin_->loginDialog();
    loginTreeView_ = std::make_unique<TreeWidgetView>(login_->tree());
    admin_->connectMenu({menus_->item().mnusettings, menus_->item().mnuaddlogin, menus_->item().mnureset,
                         menus_->item().mnulog, menus_->item().mnusap, menus_->item().mnustats});
}

} // namespace vorlu
