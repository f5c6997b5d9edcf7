#pragma once
#include "network/ScanListView.h"

#include <cstddef>

namespace vorlu {

// Grid1 laid out for a list of nodes records, the same after a scan and in
// "Scan List": texts cleared, the header row "Name", "Node", "IP" and exactly
// one row per record below it. Columns 3 and 4 never hold anything, so they
// take no room.
void prepareNodeList(ScanListView& view, std::size_t nodes);

inline constexpr int IpColumn = 2;

} // namespace vorlu
