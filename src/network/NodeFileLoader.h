#pragma once
#include "network/TreeView.h"
#include "nodes/NodeTable.h"
#include "platform/UserInterfaceServices.h"

#include <filesystem>
#include <functional>
#include <string>

namespace vorlu {

struct NodeFileLoad {
    bool existed = false;      // decides which of Network Scan / Re-Scan is offered
    std::size_t localNode = 0; // record of this computer, 0 when none matched
    // The file is there but could not be read (its name and the reason); the
    // table is then empty and must not be saved over the file.
    std::string readError;
};

// Reads the node file of the program folder into the table and fills the node
// trees record by record. A missing file hides the node tree.
NodeFileLoad loadNodeFile(const std::filesystem::path& programFolder, NodeTable& table, const std::string& labelMode,
                          const std::string& localAddress, TreeView& nodeTree, TreeView* loginTree,
                          const std::function<void()>& yield);

// Lists every record under its name after a network scan and makes the node
// folders that are missing. Names that cannot be folder names stay listed but
// get no folder; status() says why.
void rebuildNetworkTree(const NodeTable& table, TreeView& nodeTree, const std::filesystem::path& programFolder,
                        const std::function<void()>& yield, const std::function<void(const std::string&)>& status,
                        MessageBoxes& messages);

} // namespace vorlu
