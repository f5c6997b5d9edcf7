#pragma once
#include "platform/CdromDevices.h"
#include "platform/Management.h"
#include "platform/SysfsOpticalDrives.h"

#include <optional>

namespace vorlu {

// A Win32_CDROMDrive row for one drive of this computer: Drive (the device
// node) and Name (vendor and model), and, when answer is given, the status
// properties that answer stands for. Values are text the way the management
// service gives them: decimal digits, "True"/"False".
WmiRow cdromDriveRow(const SysfsOpticalDrive& drive, const std::optional<CdromAnswer>& answer);

} // namespace vorlu
