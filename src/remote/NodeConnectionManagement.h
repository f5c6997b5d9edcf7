#pragma once
#include "platform/Management.h"
#include "platform/NodeConnection.h"
#include "remote/KerberosNames.h"
#include "remote/WsManManagement.h"

#include <functional>
#include <memory>

namespace vorlu {

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
    WsManManagement nodes_;
};

} // namespace vorlu
