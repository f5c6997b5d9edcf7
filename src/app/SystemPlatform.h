#pragma once
#include "platform/Platform.h"
#include "platform/RemoteTransport.h"

#include <functional>

namespace vorlu {

class QtMessageBoxes;

// Fills every member of platform with the adapters of this machine: its
// resolver (falling back on the addresses the scan's computers announced)
// and address, WS-Discovery for the network scan, its own drives as
// the management service of this computer, WS-Management for every other
// node, and the Qt message boxes, program end and browser. transport is read
// at each connection to a remote node.
// Returns the message boxes, which the main window becomes the parent of once
// it exists.
QtMessageBoxes& installSystemPlatform(Platform& platform, std::function<RemoteTransport()> transport);

} // namespace vorlu
