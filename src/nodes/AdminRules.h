#pragma once
#include "nodes/NodeTable.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

namespace vorlu {

// The label-mode boxes of the settings dialog, in their order on the page.
inline constexpr std::array<const char*, 3> LabelModes = {"IP", "NAME", "IPNAME"};

// The rule of the three label-mode boxes, run on mouse-down and on click of
// box `box` (0 "IP", 1 "Name", 2 "IP/Name") with the boxes as they are at that
// moment: a ticked box sets its mode, and the other two are unticked. So an
// unticked box never changes the mode.
void applyLabelBoxRule(std::size_t box, std::array<bool, 3>& ticked, std::string& mode);

// A password as the logins list shows it: in clear, or one "*" per character
// (not per byte of its UTF-8 text).
std::string passwordCell(const std::string& password, bool showPasswords);

// Nodes whose Scanned field is exactly "Scanned".
std::size_t scannedCount(const NodeTable& nodes);

// A count as the statistics dialog shows it, with the blank of the sign
// position before the digits.
std::string signedCountText(std::size_t count);

// Deletes the node file of the program folder and empties the node table.
// A node file that is already missing is fine: the reset has its result.
// When an existing file cannot be deleted, nothing changes and the result is
// false with a reason.
bool resetNodeList(NodeTable& nodes, const std::filesystem::path& programFolder, std::string* error = nullptr);

} // namespace vorlu
