#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vorlu {

// What the network scans remember between their steps. NetworkListBuilt and
// NewNodesFound live in ScanFlags, which the dialog's OK reads.
struct NetworkScanState {
    // Set by the first Re-Scan and kept until the program ends: scans merge
    // instead of building the table.
    bool RescanMode = false;
    // Reset at the start of every scan.
    std::size_t firstScanCount = 0;      // records built by a first scan
    std::vector<std::string> RescanNames; // every name the current Re-Scan saw
    std::vector<int> firstScanRows;       // Grid1 row holding the name of record k (index k - 1)
};

} // namespace vorlu
