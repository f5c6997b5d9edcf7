#pragma once
#include "network/NetworkScanState.h"
#include "network/ScanListOk.h"
#include "network/ScanListView.h"
#include "nodes/NodeTable.h"
#include "platform/UserInterfaceServices.h"

namespace vorlu {

// Main-window state and services the network commands work on; all owned by
// the main window, which outlives the commands.
struct NetworkContext {
    NodeTable& table;
    ScanFlags& flags;
    NetworkScanState& state;
    ScanListView& dialog; // FrmCon
    MessageBoxes& boxes;
};

} // namespace vorlu
