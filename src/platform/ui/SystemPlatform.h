#pragma once
#include "platform/Platform.h"
#include "platform/RemoteTransport.h"

#include <functional>

namespace vorlu {

class QtMessageBoxes;

// Fills every member of platform with the adapters of this machine: its
// resolver and address, its own drives as the management service of this
// computer, the stand-ins for enumeration and remote management, and the Qt
// message boxes, program end and browser. transport is read at each
// connection to a remote node.
// Returns the message boxes, which the main window becomes the parent of once
// it exists.
QtMessageBoxes& installSystemPlatform(Platform& platform, std::function<RemoteTransport()> transport);

} // namespace vorlu
