#pragma once
#include "addresses/AddressScanner.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace vorlu {

struct HeadlessScanRun {
    std::filesystem::path programFolder;
    std::string range;
    AddressScanOptions options;
};

// Scans the range with no window, prints one line a computer found and one
// summary line, and merges the new computers into the folder's node file
// (with their folders and own connections). Returns 0 when it ran, 2 when it
// could not (a bad range, a node or connections file that cannot be read or
// written); nothing is written then.
int runHeadlessScan(const HeadlessScanRun& run, AddressScanServices& services, std::ostream& out,
                    std::ostream& err);

} // namespace vorlu
