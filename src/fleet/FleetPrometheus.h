#pragma once
#include "fleet/FleetRows.h"

#include <string>
#include <vector>

namespace vorlu {

// The rows in the Prometheus text exposition format, for a node exporter's
// textfile collector: a gauge per drive (0 green, 1 amber, 2 red, 3 unknown,
// with node, address, drive, name and state labels), a gauge per node (1
// reached, 0 refused or not reached), the drive counts by state and the time
// of the check (checkTime: ISO 8601, UTC).
std::string formatFleetPrometheus(const std::vector<FleetRow>& rows, const std::string& checkTime);

} // namespace vorlu
