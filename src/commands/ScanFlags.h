#pragma once

namespace vorlu {

// Flags the progress dialog's OK reads to learn who used the dialog last.
struct ScanFlags {
    bool AccessDenied = false;
    bool DriveScanDone = false;
    bool NetworkListBuilt = false;
    bool NewNodesFound = false;
};

} // namespace vorlu
