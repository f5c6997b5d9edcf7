#include "network/NetworkDiscovery.h"
#include "platform/Log.h"

#include "network/NetworkTexts.h"
#include "network/ScanListGrid.h"
#include "network/ServerList.h"
#include "network/Sockets.h"

#include <algorithm>
#include <exception>
#include <unordered_set>

namespace vorlu {

NetworkDiscovery::NetworkDiscovery(NetworkContext context, RepaintPace& pace, ServerEnumerator& enumerator,
                                   SocketLayer& sockets, TreeView& nodeTree, int resolverThreads)
    : ctx_(std::move(context)), pace_(pace), enumerator_(enumerator), sockets_(sockets), nodeTree_(nodeTree),
      resolver_(std::make_unique<ParallelResolver>(sockets, resolverThreads))
{
}

bool NetworkDiscovery::ScanNetwork()
{
    StartSockets(sockets_, ctx_.boxes, pace_);

    ctx_.state.firstScanCount = 0;
    ctx_.state.RescanNames.clear();
    ctx_.state.firstScanRows.clear();
    ctx_.flags.NewNodesFound = false;

    const ServerList list = EnumerateServers(enumerator_, ctx_.boxes, pace_);
    if (!list.success)
        return false;

    try {
        ctx_.dialog.setStatus(GettingNodesText);
        if (ctx_.state.RescanMode)
            mergeNames(list.names);
        else
            buildTable(list.names);
        pace_.yield();
        listNames();
        ctx_.dialog.setStatus(NodeListCompletedText);
        return true;
    } catch (const std::exception& e) {
        qCWarning(lcNetwork, "retrieving the network node list failed: %s", e.what());
        pace_.yield();
        ctx_.boxes.show(NodeListFailedText, MessageTitle, MessageIcon::Question);
        return false;
    }
}

// A first scan runs on an empty table and numbers the names from 1 in the
// order they were listed; a name listed twice becomes two records.
void NetworkDiscovery::buildTable(const std::vector<std::string>& names)
{
    ctx_.table.clear();
    ctx_.table.reserve(names.size());
    for (const std::string& name : names) {
        pace_.yield();
        ctx_.table.append(discoveredNode(name));
        ++ctx_.state.firstScanCount;
        if (ctx_.state.firstScanCount == 1)
            nodeTree_.setVisible(true);
    }
}

// Names are compared exactly, letter case included. A new name goes to the
// set as it is appended, so a name listed twice is appended once.
void NetworkDiscovery::mergeNames(const std::vector<std::string>& names)
{
    std::unordered_set<std::string> known;
    known.reserve(ctx_.table.count() + names.size());
    for (std::size_t n = 1; n <= ctx_.table.count(); ++n)
        known.insert(ctx_.table.at(n).Name);

    ctx_.state.RescanNames.reserve(names.size());
    for (const std::string& name : names) {
        pace_.yield();
        ctx_.state.RescanNames.push_back(name);
        if (!known.insert(name).second)
            continue;
        ctx_.flags.NewNodesFound = true;
        pace_.yield();
        ctx_.table.append(discoveredNode(name));
    }
}

void NetworkDiscovery::listNames()
{
    prepareNodeList(ctx_.dialog, ctx_.table.count());
    pace_.yield();
    const bool firstScan = !ctx_.state.RescanMode;
    for (std::size_t n = 1; n <= ctx_.table.count(); ++n) {
        pace_.yield();
        const int row = static_cast<int>(n);
        ctx_.dialog.setGridCell(row, 0, ctx_.table.at(n).Name);
        ctx_.dialog.setGridCell(row, 1, ctx_.table.at(n).Node);
        ctx_.dialog.setGridCell(row, 2, ctx_.table.at(n).IP);
        if (firstScan && n <= ctx_.state.firstScanCount)
            ctx_.state.firstScanRows.push_back(row);
    }
}

void NetworkDiscovery::ResolveAllNodes()
{
    try {
        std::vector<std::string> names;
        names.reserve(ctx_.table.count());
        for (std::size_t n = 1; n <= ctx_.table.count(); ++n)
            names.push_back(ctx_.table.at(n).Name);

        const std::size_t total = names.size();
        ctx_.dialog.setProgress(0, total);
        resolver_->resolveInOrder(
            names, [&](std::size_t i) { ctx_.dialog.setStatus(ResolvingPrefix + names[i]); },
            [&](std::size_t i, const Lookup& answer) {
                std::string address = ApplyLookup(answer, ctx_.dialog, ctx_.boxes, pace_);
                // Each address shows as it arrives, not only at the end.
                if (i < ctx_.state.firstScanRows.size())
                    ctx_.dialog.setGridCell(ctx_.state.firstScanRows[i], IpColumn, address);
                // The table may only have grown meanwhile; check all the same.
                // A name no resolver knows keeps the address it had: one found by an
                // address scan or given by hand would otherwise be lost for good.
                if (ctx_.table.contains(i + 1) && !address.empty())
                    ctx_.table.at(i + 1).IP = std::move(address);
                ctx_.dialog.setProgress(i + 1, total);
            });

        ctx_.dialog.setStatus(NodeListCompletedText);
        const std::size_t shown = std::min(ctx_.state.firstScanCount, ctx_.state.firstScanRows.size());
        for (std::size_t k = 1; k <= shown && k <= ctx_.table.count(); ++k)
            ctx_.dialog.setGridCell(ctx_.state.firstScanRows[k - 1], IpColumn, ctx_.table.at(k).IP);
    } catch (const std::exception& e) {
        qCWarning(lcNetwork, "resolving the node addresses failed: %s", e.what());
        pace_.yield();
        ctx_.boxes.show(ResolveFailedText, MessageTitle, MessageIcon::Question);
    }
}

} // namespace vorlu
