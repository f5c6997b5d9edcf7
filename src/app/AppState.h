#pragma once
#include "inventory/DriveEvaluation.h"
#include "commands/ScanFlags.h"
#include "nodes/NodeTable.h"
#include "nodes/Settings.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace vorlu {

// What the main window owns while the program runs.
struct AppState {
    std::filesystem::path programFolder;
    NodeTable nodes;
    Settings settings;
    std::string LocalAddress;
    std::size_t SelectedNode = 0;
    std::size_t LocalNode = 0;
    ScanFlags flags;
    // The evaluated drives of the node shown; the detail panel reads them.
    DriveResults drives;
    bool StandardDpi = true;
    bool DpiChecked = false; // StandardDpi holds the screen's figure
    bool nodeFileExisted = false;
};

} // namespace vorlu
