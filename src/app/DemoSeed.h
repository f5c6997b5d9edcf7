#pragma once
#include <filesystem>
#include <string>

namespace vorlu {

class SimulatedNetwork;

// A demo folder without a node file gets the node list a first network scan
// of the bundled network would save, and the node folders, so the demo shows
// its computers at the first start. A folder that has a node file keeps it:
// the user's own scans win. False, with error set, when writing failed.
bool seedDemoFolder(const std::filesystem::path& folder, const SimulatedNetwork& network, std::string& error);

} // namespace vorlu
