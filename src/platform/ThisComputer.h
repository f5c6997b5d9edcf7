#pragma once
#include <string>
#include <vector>

namespace vorlu {

// The names by which a management connection addresses this computer.
struct ThisComputer {
    std::string hostName;
    std::vector<std::string> addresses; // besides the loopback ones

    // Empty (the service's own convention), ".", "localhost", a loopback
    // address, the host name with or without its domain (any letter case), or
    // one of addresses.
    bool isAddressedBy(const std::string& server) const;
};

} // namespace vorlu
