#pragma once

namespace vorlu {

// Flags the progress dialog's OK reads to learn who used the dialog last.
struct ScanFlags {
    bool AccessDenied = false;
    bool DriveScanDone = false;
    bool NetworkListBuilt = false;
    bool NewNodesFound = false;
};

enum class ScanListOkAction { Hide, SaveAndRestart };

// Decides what OK (or the close box) does; clears DriveScanDone when that is
// what made it hide.
ScanListOkAction scanListOk(ScanFlags& flags);

} // namespace vorlu
