#pragma once
#include "platform/Management.h"
#include "platform/ServerEnumerator.h"

namespace vorlu {

// Stand-ins until this build can list the servers of the network: every
// enumeration fails the way an unexpected failure does.
class UnavailableEnumerator : public ServerEnumerator {
public:
    EnumerationAnswer enumerateServers(std::uint32_t typeMask) override;
};

// Stand-in until this build can talk to the management service of another
// computer: every connection is refused.
class UnavailableManagement : public ManagementService {
public:
    std::unique_ptr<WmiLocator> createLocator() override;
};

} // namespace vorlu
