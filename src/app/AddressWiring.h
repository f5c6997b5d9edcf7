#pragma once
#include "addresses/AddressCommands.h"
#include "addresses/ReverseNames.h"
#include "commands/BackgroundWork.h"

#include <functional>
#include <memory>

class QWidget;

namespace vorlu {

class CommandMenus;
class QtAddressViews;
class SocketLayer;

// "Scan Addresses" and "Add Node" of the "Network" menu and "Node
// Connection" of the node menu, with their dialogs.
class AddressWiring {
public:
    using Scan = std::function<std::vector<FoundComputer>(const AddressRange&, ScanControl*)>;

    // Scans the real network (reverse DNS, NetBIOS, Identify) until useScan.
    AddressWiring(NetworkContext context, RepaintPace& pace, CommandGate& gate, QWidget& window, SocketLayer& sockets,
                  std::filesystem::path programFolder, std::function<RemoteTransport()> programTransport,
                  std::function<void()> rebuildNetworkTree);
    ~AddressWiring();

    // Where the nodes' connections go whenever they change; set it before
    // the load step.
    void setPublisher(std::function<void(std::map<std::string, NodeConnection>)> publish);
    // Another way to find a range's computers (the simulated network's).
    void useScan(Scan scan);

    void connectMenus(CommandMenus& menus, std::function<std::string()> localAddress,
                      std::function<std::size_t()> selectedNode);
    AddressCommands& commands() { return *commands_; }

private:
    BackgroundWork runner_;
    SystemReverseNames reverseNames_;
    std::unique_ptr<QtAddressViews> views_;
    std::function<void(std::map<std::string, NodeConnection>)> publish_;
    Scan scan_;
    std::unique_ptr<AddressCommands> commands_;
};

} // namespace vorlu
