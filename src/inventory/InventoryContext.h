#pragma once
#include "commands/BackgroundWork.h"
#include "inventory/DriveEvaluation.h"
#include "inventory/InventoryReport.h"
#include "inventory/InventoryViews.h"
#include "inventory/WmiConnection.h"
#include "commands/CommandGate.h"
#include "commands/ScanFlags.h"
#include "network/TreeView.h"
#include "commands/Yield.h"
#include "nodes/NodeTable.h"
#include "nodes/Settings.h"

#include <cstddef>
#include <filesystem>
#include <functional>

namespace vorlu {

// Main-window state the drive scans work on; all owned by the main window,
// which outlives the commands.
struct InventoryState {
    NodeTable& table;
    Settings& settings;
    std::size_t& SelectedNode;
    const std::size_t& LocalNode;
    ScanFlags& flags;
    const std::filesystem::path& programFolder;
    // The evaluated drives of the node shown; the detail panel reads them too.
    DriveResults& results;
};

// The windows, the model and the services the drive scans talk to.
struct InventoryServices {
    ManagementService& management;
    BackgroundWork& runner;
    ScanProgressView& dialog;   // FrmCon
    InventoryWindowView& window; // Frmmain
    TreeView& hardwareTree;      // TrView1
    StateGridsView& grids;
    ModelUnits& units;
    CommandGate& gate;
    Yield yield;
    // True once the program is ending: a command stops after the call it waits for.
    std::function<bool()> ending;
    // After a diagnostics scan has written node n's diagnostics, so the drive history can keep them.
    std::function<void(std::size_t n)> diagnosed = {};
};

} // namespace vorlu
