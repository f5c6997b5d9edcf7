#pragma once
#include "platform/Platform.h"

namespace vorlu {

class QtMessageBoxes;

// Fills every member of platform with the adapters of this machine: its
// resolver and address, the stand-ins for enumeration and management, and the
// Qt message boxes, program end and browser. Returns the message boxes, which
// the main window becomes the parent of once it exists.
QtMessageBoxes& installSystemPlatform(Platform& platform);

} // namespace vorlu
