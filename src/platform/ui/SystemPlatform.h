#pragma once
#include "platform/Platform.h"

namespace vorlu {

// Fills every member of platform with the adapters of this machine: its
// resolver and address, the stand-ins for enumeration and management, and the
// Qt message boxes, program end and browser.
void installSystemPlatform(Platform& platform);

} // namespace vorlu
