#pragma once
#include "commands/CommandGate.h"
#include "commands/RepaintPace.h"
#include "network/NetworkContext.h"
#include "network/NetworkDiscovery.h"
#include "network/NetworkMenu.h"

#include <functional>

namespace vorlu {

// "Network Scan", "Re-Scan" and "Scan List". Each returns false when it was
// refused because another command holds the gate (the status line says so).
class NetworkScanCommands {
public:
    // rebuildNetworkTree removes every entry of TreeView1 and runs
    // RebuildNetworkTree.
    NetworkScanCommands(NetworkContext context, RepaintPace& pace, NetworkDiscovery& discovery, NetworkMenu& menu,
                        CommandGate& gate, std::function<void()> rebuildNetworkTree);

    // Start-up: Network Scan is offered only without a node file, Re-Scan
    // only with one.
    void setInitialMenuState(bool nodeFileExisted);

    bool NetworkScan();
    bool ReScan();
    // Does nothing, not even show the dialog, while the table is empty.
    bool ScanList();

    // Lists Name, Node and IP of every record in Grid1.
    void ListNodes();

    // The dialog's Cancel: a first scan cancelled while it runs or after it
    // leaves "Network Scan" enabled.
    void DialogCancelled();

private:
    void refuse();

    NetworkContext ctx_;
    RepaintPace& pace_;
    NetworkDiscovery& discovery_;
    NetworkMenu& menu_;
    CommandGate& gate_;
    std::function<void()> rebuildNetworkTree_;
    bool firstScanRunning_ = false;
    bool firstScanCancelled_ = false;
};

} // namespace vorlu
