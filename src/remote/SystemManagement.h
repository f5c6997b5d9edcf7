#pragma once
#include "platform/Management.h"
#include "platform/RemoteTransport.h"
#include "platform/ThisComputer.h"
#include "remote/KerberosNames.h"
#include "remote/NodeConnectionManagement.h"

#include <functional>
#include <memory>

namespace vorlu {

// This computer's name and the address the program takes as its own.
ThisComputer thisMachine();

// The management service of a real start: this computer answered from its own
// devices, every other node through transport, read at each connection, with
// the node's own connection from ownConnections laid over it.
// names: the DNS names of the domain's computers by address, for Kerberos.
std::unique_ptr<ManagementService> makeSystemManagement(const ThisComputer& here,
                                                        std::function<RemoteTransport()> transport,
                                                        std::shared_ptr<const KerberosNames> names = nullptr,
                                                        NodeConnectionLookup ownConnections = {});

} // namespace vorlu
