#include "network/ScanListOk.h"

namespace vorlu {

ScanListOkAction scanListOk(ScanFlags& flags)
{
    if (flags.AccessDenied)
        return ScanListOkAction::Hide;
    if (flags.DriveScanDone) {
        flags.DriveScanDone = false;
        return ScanListOkAction::Hide;
    }
    if (flags.NetworkListBuilt || flags.NewNodesFound)
        return ScanListOkAction::SaveAndRestart;
    return ScanListOkAction::Hide;
}

} // namespace vorlu
