#pragma once
#include "commands/RepaintPace.h"
#include "network/NetworkContext.h"
#include "network/ParallelResolver.h"
#include "network/TreeView.h"
#include "platform/ServerEnumerator.h"
#include "platform/SocketLayer.h"

#include <memory>

namespace vorlu {

// Finds the computers of the network and resolves their addresses.
class NetworkDiscovery {
public:
    NetworkDiscovery(NetworkContext context, RepaintPace& pace, ServerEnumerator& enumerator, SocketLayer& sockets,
                     TreeView& nodeTree, int resolverThreads = ParallelResolver::DefaultThreads);

    // Builds the table from the enumeration (first scan) or appends the names
    // it does not hold yet (RescanMode), and lists the records in Grid1.
    // True when the node list was completed.
    bool ScanNetwork();

    // Resolves the address of every record. Lookups run in parallel while the
    // status line names each record in turn; every record gets its own answer.
    void ResolveAllNodes();

private:
    void buildTable(const std::vector<std::string>& names);
    void mergeNames(const std::vector<std::string>& names);
    void listNames();

    NetworkContext ctx_;
    RepaintPace& pace_;
    ServerEnumerator& enumerator_;
    SocketLayer& sockets_;
    TreeView& nodeTree_;
    std::unique_ptr<ParallelResolver> resolver_;
};

} // namespace vorlu
