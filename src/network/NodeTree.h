#pragma once
#include "network/TreeView.h"
#include "nodes/NodeTable.h"

#include <cstddef>
#include <optional>
#include <string>

namespace vorlu {

inline constexpr const char* RootKey = "1 node";
inline constexpr const char* DrivesKey = "28 node";

std::string nodeKey(std::size_t n);

// The label mode actually used: one of "IP", "NAME", "IPNAME". Any other value
// (the empty default of a fresh install included) labels nodes by name, so the
// tree is never left empty by a missing or mistyped setting.
std::string effectiveLabelMode(const std::string& mode);

// Node text in the node trees: Node, IP, or Node(IP).
std::string nodeText(const NodeRecord& r, const std::string& mode);
// Root text of the hardware tree: Node, IP, or Node (IP).
std::string hardwareRootText(const NodeRecord& r, const std::string& mode);

// The root entry of a node tree.
void addNetworkRoot(TreeView& tree);

// Adds record n to the node tree and, except for this computer, to the login
// dialog's tree. Returns true when n is this computer (its IP equals localAddress).
bool addNodeToTree(std::size_t n, const NodeRecord& r, const std::string& mode, const std::string& localAddress,
                   TreeView& nodeTree, TreeView* loginTree);

// Refills the hardware tree for one record: its root and the optical drives entry.
void buildHardwareTree(TreeView& hardwareTree, const NodeRecord& r, const std::string& mode);

// Tag of a tree entry as the click handlers read it: the leading number of the
// text, 0 when there is none; numbers beyond the table are not selectable.
std::size_t selectedNodeFromTag(const std::string& tagText, std::size_t nodeCount);

} // namespace vorlu
