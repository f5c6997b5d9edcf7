#pragma once
#include "platform/Management.h"
#include "platform/NodeConnection.h"
#include "remote/KerberosNames.h"
#include "remote/WsManChannel.h"

#include <functional>
#include <memory>
#include <optional>

namespace vorlu {

// The node's own connection, looked up by the server a connection is made
// to (its address or name); nothing for a node without one. Called on
// worker threads.
using NodeConnectionLookup = std::function<std::optional<NodeConnection>(const std::string& server)>;

// WS-Management where each node may have a connection of its own: every
// connection takes the program's transport, read when its locator is made,
// with the node's own connection laid over it.
class NodeConnectionManagement : public ManagementService {
public:
    NodeConnectionManagement(std::function<RemoteTransport()> transport, NodeConnectionLookup lookup,
                             SecurityContextFactory contexts = {},
                             std::shared_ptr<const KerberosNames> names = nullptr);
    std::unique_ptr<WmiLocator> createLocator() override;

private:
    std::function<RemoteTransport()> transport_;
    NodeConnectionLookup lookup_;
    SecurityContextFactory contexts_;
    std::shared_ptr<const KerberosNames> names_;
};

} // namespace vorlu
