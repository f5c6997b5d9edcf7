#include "addresses/SimulatedAddressScan.h"

#include <algorithm>

namespace vorlu {

std::vector<FoundComputer> scanSimulatedAddresses(const SimulatedNetwork& network, const AddressRange& range)
{
    std::vector<FoundComputer> found;
    for (const SimulatedNetwork::Computer& c : network.computers) {
        if (!c.address || !c.management.reachable)
            continue;
        const auto address = parseIPv4(*c.address);
        if (!address || *address < range.first || *address - range.first >= range.count)
            continue;
        // One answer per address, as on a real network.
        if (std::any_of(found.begin(), found.end(), [&](const FoundComputer& f) { return f.address == *address; }))
            continue;
        FoundComputer f;
        f.address = *address;
        f.addressText = *c.address;
        f.name = c.name;
        f.source = NameSource::ReverseDns;
        f.openPorts = {DefaultHttpPort};
        f.identity = IdentifyAnswer{"", "simulated network", ""};
        found.push_back(std::move(f));
    }
    std::sort(found.begin(), found.end(),
              [](const FoundComputer& a, const FoundComputer& b) { return a.address < b.address; });
    return found;
}

} // namespace vorlu
