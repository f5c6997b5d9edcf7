// The administration commands on the main window: their menu items, the
// login dialog's tree and the node tree's "pw" picture.
#include "app/CommandMenus.h"
#include "app/MainWindow.h"
#include "app/TreeWidgetView.h"
#include "dialogs/AdminCommands.h"
#include "dialogs/Frmlgin.h"
#include "fleet/FleetHistory.h"
#include "network/NodeTree.h"

namespace vorlu {

void Frmmain::buildAdminCommands()
{
    AdminContext context{state_.nodes,
                         state_.settings,
                         state_.SelectedNode,
                         state_.programFolder,
                         *platform_.messages,
                         [this](std::size_t n) { nodeTreeView_->setPicture(nodeKey(n), "pw"); },
                         [this](std::size_t n) { return loginTreeView_->entry(nodeKey(n)); },
                         [this] {
                             endingProgram_ = true;
                             restartProgram();
                         },
                         [this](const RemoteTransport& t) {
                             if (transportListener_)
                                 transportListener_(t);
                         },
                         [folder = state_.programFolder](const std::vector<std::string>& nodes, std::string* error) {
                             return forgetHistoryOf(folder, nodes, error);
                         },
                         [this](bool on) { return keepPasswordsInKeyring(on); },
                         [this](const AdminLogin& login) {
                             if (adminLoginListener_)
                                 adminLoginListener_(login);
                         }};
    admin_ = std::make_unique<AdminCommands>(std::move(context), repaintPace_, this);
    login_ = &admin_->loginDialog();
    loginTreeView_ = std::make_unique<TreeWidgetView>(login_->tree());
    admin_->connectMenu({menus_->item().mnusettings, menus_->item().mnuaddlogin, menus_->item().mnureset,
                         menus_->item().mnulog, menus_->item().mnusap, menus_->item().mnustats});
}

} // namespace vorlu
