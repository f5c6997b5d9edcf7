#include "network/NetworkScanCommands.h"
#include "platform/Log.h"

#include "network/NetworkTexts.h"
#include "network/ScanListGrid.h"

#include <exception>

namespace vorlu {

NetworkScanCommands::NetworkScanCommands(NetworkContext context, RepaintPace& pace, NetworkDiscovery& discovery,
                                         NetworkMenu& menu, CommandGate& gate,
                                         std::function<void()> rebuildNetworkTree)
    : ctx_(std::move(context)), pace_(pace), discovery_(discovery), menu_(menu), gate_(gate),
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
    firstScanRunning_ = true;
    firstScanCancelled_ = false;
    discovery_.ScanNetwork();
    pace_.yield();
    discovery_.ResolveAllNodes();
    ctx_.flags.NetworkListBuilt = true;
    menu_.setRescanEnabled(true);
    menu_.setNetworkScanEnabled(firstScanCancelled_);
    firstScanRunning_ = false;
    return true;
}

void NetworkScanCommands::DialogCancelled()
{
    // The user turned the first scan down: it may be run again. Its table
    // stays, so a later OK still saves it.
    if (firstScanRunning_)
        firstScanCancelled_ = true;
    else if (ctx_.flags.NetworkListBuilt)
        menu_.setNetworkScanEnabled(true);
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
    const bool listed = discovery_.ScanNetwork();
    pace_.yield();
    if (ctx_.flags.NewNodesFound) {
        discovery_.ResolveAllNodes();
        pace_.yield();
        if (rebuildNetworkTree_)
            rebuildNetworkTree_();
    } else if (listed) {
        ctx_.dialog.setStatus(NoNewNodesText);
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
        prepareNodeList(ctx_.dialog, ctx_.table.count());
        pace_.yield();
        ctx_.dialog.setStatus("");
        pace_.yield();
        for (std::size_t k = 1; k <= ctx_.table.count(); ++k) {
            pace_.yield();
            const NodeRecord& r = ctx_.table.at(k);
            const int row = static_cast<int>(k);
            ctx_.dialog.setGridCell(row, 0, r.Name);
            ctx_.dialog.setGridCell(row, 1, r.Node);
            ctx_.dialog.setGridCell(row, 2, r.IP);
        }
    } catch (const std::exception& e) {
        qCWarning(lcNetwork, "listing the network nodes failed: %s", e.what());
        pace_.yield();
        ctx_.boxes.show(ListNodesFailedText, MessageTitle, MessageIcon::Question);
    }
}

} // namespace vorlu
