#pragma once
// A computer as an address scan reports it, for the tests of what follows a scan.
#include "addresses/AddressScanner.h"

namespace vorlu::test {

inline FoundComputer foundComputer(const std::string& address, const std::string& name,
                                   std::vector<std::uint16_t> ports)
{
    FoundComputer c;
    c.address = *parseIPv4(address);
    c.addressText = address;
    c.name = name;
    c.openPorts = std::move(ports);
    return c;
}

} // namespace vorlu::test
