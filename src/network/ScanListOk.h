#pragma once
#include "commands/ScanFlags.h"

namespace vorlu {

enum class ScanListOkAction { Hide, SaveAndRestart };

// Decides what OK (or the close box) does; clears DriveScanDone when that is
// what made it hide.
ScanListOkAction scanListOk(ScanFlags& flags);

} // namespace vorlu
