#pragma once
#include "platform/ServerEnumerator.h"
#include "remote/AnnouncedAddresses.h"
#include "remote/WsDiscoveryOptions.h"

#include <memory>

namespace vorlu {

// Lists the computers of the local segment that announce themselves with
// WS-Discovery: a multicast Probe, the matches it draws, a Resolve for those
// without a transport address, and each device's metadata for its computer
// name. Runs on the calling thread's event loop with asynchronous sockets
// and waits in a local loop, so the window keeps painting, and always ends
// within the timing's deadline. Needs a QCoreApplication.
// No interface to probe on answers NoNetworkCode; a socket the network
// refuses answers NoNetworkCode or AccessDeniedCode; other socket failures
// throw EnumerationFailure.
class WsDiscoveryEnumerator : public ServerEnumerator {
public:
    // announced, when given, learns the IPv4 address each listed name came from.
    explicit WsDiscoveryEnumerator(WsDiscoveryOptions options = {},
                                   std::shared_ptr<AnnouncedAddresses> announced = nullptr);
    // The names in the order their devices answered; a device reached twice
    // (by answer or by endpoint) and a name already listed are dropped.
    EnumerationAnswer enumerateServers(std::uint32_t typeMask) override;

private:
    WsDiscoveryOptions options_;
    std::shared_ptr<AnnouncedAddresses> announced_;
};

} // namespace vorlu
