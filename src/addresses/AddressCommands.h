#pragma once
#include "addresses/AddressScanner.h"
#include "addresses/AddressViews.h"
#include "commands/CommandGate.h"
#include "commands/RepaintPace.h"
#include "network/NetworkContext.h"
#include "nodes/NodeConnections.h"

#include <filesystem>
#include <functional>
#include <map>

namespace vorlu {

// "Scan Addresses", "Add Node" and "Node Connection". What they add joins
// the table as new names of a Re-Scan do: the node tree is rebuilt (with the
// folders), and the progress dialog's OK writes the node file and asks for
// the restart. Each returns false when another command held the gate.
class AddressCommands {
public:
    struct Services {
        // Finds the computers of a range (scanAddresses on a real network).
        std::function<std::vector<FoundComputer>(const AddressRange&, ScanControl* control)> scan;
        // Runs a call that may block while the window keeps painting.
        std::function<void(const std::function<void()>&)> runBlocking;
        // A name's address, "" when it has none; blocks.
        std::function<std::string(const std::string& name)> resolve;
        // The program's Remote settings.
        std::function<RemoteTransport()> programTransport;
        // Empties TreeView1 and runs RebuildNetworkTree.
        std::function<void()> rebuildNetworkTree;
        // Hands the connections by server to the management connections.
        std::function<void(std::map<std::string, NodeConnection>)> publish;
    };

    AddressCommands(NetworkContext context, RepaintPace& pace, CommandGate& gate, AddressViews& views, std::filesystem::path programFolder,
                    Services services);

    // Reads the folder's connections and publishes them; a file that cannot
    // be read is reported in the status line and never saved over.
    void loadConnections();
    // Publishes again: the table's addresses changed.
    void publish();

    bool ScanAddresses(const std::string& localAddress);
    bool AddNode();
    bool NodeConnection(std::size_t selectedNode);
    // The progress dialog's Cancel: a scan under way stops and keeps what it found.
    void DialogCancelled() { control_.cancel = true; }

    const NodeConnections& connections() const { return connections_; }

private:
    void refuse();
    RemoteTransport programTransport() const;
    // The new records joined: tree rebuilt, the restart asked at OK.
    void joined(std::size_t added);
    bool saveConnections(const NodeConnections& before);

    NetworkContext ctx_;
    RepaintPace& pace_;
    CommandGate& gate_;
    AddressViews& views_;
    std::filesystem::path programFolder_;
    Services services_;
    NodeConnections connections_;
    bool keepConnectionsFile_ = false;
    ScanControl control_;
};

} // namespace vorlu
