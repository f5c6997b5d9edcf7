#include "network/NetworkScanCommands.h"
#include "platform/Log.h"

#include "network/NetworkTexts.h"

#include <exception>

namespace vorlu {

namespace {
constexpr int GridColumns = 5;
constexpr int ListColumnTwips = 1600;
} // namespace

NetworkScanCommands::NetworkScanCommands(NetworkContext context, NetworkDiscovery& discovery, NetworkMenu& menu,
                                         CommandGate& gate, std::function<void()> rebuildNetworkTree)
    : ctx_(std::move(context)), discovery_(discovery), menu_(menu), gate_(gate),
      rebuildNetworkTree_(std::move(rebuildNetworkTree))
{
}

void NetworkScanCommands::setInitialMenuState(bool nodeFileExisted)
{
    menu_.setNetworkScanEnabled(!nodeFileExisted);
    menu_.setRescanEnabled(nodeFileExisted);
}

void NetworkScanCommands::refuse() { ctx_.dialog.setStatus(CommandGate::busyText); }

bool NetworkScanCommands::NetworkScan()
{
    const CommandGate::Pass pass = gate_.enter();
    if (!pass) {
        refuse();
        return false;
    }
    ctx_.dialog.setCaption(ScanListCaption);
    ctx_.dialog.showDialog();
    discovery_.ScanNetwork();
    yieldNow(ctx_.yield);
    discovery_.ResolveAllNodes();
    ctx_.flags.NetworkListBuilt = true;
    menu_.setRescanEnabled(true);
    menu_.setNetworkScanEnabled(false);
    return true;
}

bool NetworkScanCommands::ReScan()
{
    const CommandGate::Pass pass = gate_.enter();
    if (!pass) {
        refuse();
        return false;
    }
    ctx_.dialog.setCaption(ScanListCaption);
    ctx_.state.RescanMode = true;
    ctx_.dialog.showDialog();
    discovery_.ScanNetwork();
    yieldNow(ctx_.yield);
    if (ctx_.flags.NewNodesFound) {
        discovery_.ResolveAllNodes();
        yieldNow(ctx_.yield);
        if (rebuildNetworkTree_)
            rebuildNetworkTree_();
    }
    return true;
}

bool NetworkScanCommands::ScanList()
{
    const CommandGate::Pass pass = gate_.enter();
    if (!pass) {
        refuse();
        return false;
    }
    if (ctx_.table.empty())
        return true;
    ctx_.dialog.showDialog();
    ListNodes();
    return true;
}

void NetworkScanCommands::ListNodes()
{
    try {
        ctx_.dialog.clearGridText();
        yieldNow(ctx_.yield);
        ctx_.dialog.setStatus("");
        for (int c = 0; c < GridColumns; ++c)
            ctx_.dialog.setGridColumnWidth(c, ListColumnTwips);
        ctx_.dialog.setGridCell(0, 0, "Name");
        ctx_.dialog.setGridCell(0, 1, "Node");
        ctx_.dialog.setGridCell(0, 2, "IP");
        yieldNow(ctx_.yield);
        // Record k goes to row k; the row appended each time keeps the grid
        // one row longer than the list.
        for (std::size_t k = 1; k <= ctx_.table.count(); ++k) {
            yieldNow(ctx_.yield);
            ctx_.dialog.appendGridRow();
            const NodeRecord& r = ctx_.table.at(k);
            const int row = static_cast<int>(k);
            ctx_.dialog.setGridCell(row, 0, r.Name);
            ctx_.dialog.setGridCell(row, 1, r.Node);
            ctx_.dialog.setGridCell(row, 2, r.IP);
        }
    } catch (const std::exception& e) {
        qCWarning(lcNetwork, "listing the network nodes failed: %s", e.what());
        yieldNow(ctx_.yield);
        ctx_.boxes.show(ListNodesFailedText, MessageTitle, MessageIcon::Question);
    }
}

} // namespace vorlu
