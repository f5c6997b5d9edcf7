#pragma once
#include "platform/Platform.h"
#include "platform/NodeConnection.h"
#include "platform/RemoteTransport.h"

#include <functional>
#include <optional>
#include <string>

namespace vorlu {

class QtMessageBoxes;

// Fills every member of platform with the adapters of this machine: its
// resolver (falling back on the addresses the scan's computers announced)
// and address, WS-Discovery for the network scan, its own drives as
// the management service of this computer, WS-Management for every other
// node, and the Qt message boxes, program end and browser. transport is read
// at each connection to a remote node, with the node's own connection from
// ownConnections laid over it; with adminLogin at each Network Scan, which
// lists the domain's computers from its directory where one is known.
// Returns the message boxes, which the main window becomes the parent of once
// it exists.
QtMessageBoxes& installSystemPlatform(Platform& platform, std::function<RemoteTransport()> transport,
                                      std::function<AdminLogin()> adminLogin = {},
                                      std::function<std::optional<NodeConnection>(const std::string&)> ownConnections = {});

} // namespace vorlu
