#pragma once
#include "platform/SocketLayer.h"
#include "remote/AnnouncedAddresses.h"

#include <memory>

namespace vorlu {

// A socket layer that asks the one it wraps first and, only where that knows
// nothing of a name, answers the address the computer announced to a network
// scan: the resolver's view (DNS, hosts file) wins over an announcement
// anyone on the segment could have made.
class AnnouncingSocketLayer : public SocketLayer {
public:
    AnnouncingSocketLayer(std::unique_ptr<SocketLayer> resolver, std::shared_ptr<const AnnouncedAddresses> announced);

    SocketStartup startup(std::uint16_t requestedVersion) override;
    std::optional<std::vector<std::uint8_t>> resolve(const std::string& name) override;

private:
    std::unique_ptr<SocketLayer> resolver_;
    std::shared_ptr<const AnnouncedAddresses> announced_;
};

} // namespace vorlu
