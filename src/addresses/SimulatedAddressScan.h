#pragma once
#include "addresses/AddressScanner.h"
#include "platform/SimulatedNetwork.h"

#include <memory>

namespace vorlu {

// An address scan of the simulated network: its reachable computers whose
// address lies in the range answer on 5985 under their own name.
std::vector<FoundComputer> scanSimulatedAddresses(const SimulatedNetwork& network, const AddressRange& range);

} // namespace vorlu
