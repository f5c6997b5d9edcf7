#include "remote/AnnouncingSocketLayer.h"

namespace vorlu {

AnnouncingSocketLayer::AnnouncingSocketLayer(std::unique_ptr<SocketLayer> resolver,
                                             std::shared_ptr<const AnnouncedAddresses> announced)
    : resolver_(std::move(resolver)), announced_(std::move(announced))
{
}

SocketStartup AnnouncingSocketLayer::startup(std::uint16_t requestedVersion)
{
    return resolver_->startup(requestedVersion);
}

std::optional<std::vector<std::uint8_t>> AnnouncingSocketLayer::resolve(const std::string& name)
{
    if (auto known = resolver_->resolve(name))
        return known;
    if (const std::optional<Ipv4Bytes> address = announced_->find(name))
        return std::vector<std::uint8_t>(address->begin(), address->end());
    return std::nullopt;
}

} // namespace vorlu
