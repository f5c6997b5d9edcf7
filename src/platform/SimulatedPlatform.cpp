#include "platform/SimulatedPlatform.h"

namespace vorlu {

namespace {

class SimulatedServices : public WmiServices {
public:
    SimulatedServices(std::shared_ptr<const SimulatedNetwork> network, const SimulatedNetwork::Computer& computer)
        : network_(std::move(network)), computer_(computer)
    {
    }
    std::vector<WmiRow> execQuery(const std::string& query) override { return network_->query(computer_, query); }

private:
    std::shared_ptr<const SimulatedNetwork> network_; // keeps computer_ alive
    const SimulatedNetwork::Computer& computer_;
};

class SimulatedLocator : public WmiLocator {
public:
    explicit SimulatedLocator(std::shared_ptr<const SimulatedNetwork> network) : network_(std::move(network)) {}
    std::unique_ptr<WmiServices> connectServer(const std::string& server, const std::string& nameSpace,
                                               const std::string& user, const std::string& password) override
    {
        const auto& computer = network_->connect(server, nameSpace, user, password);
        return std::make_unique<SimulatedServices>(network_, computer);
    }

private:
    std::shared_ptr<const SimulatedNetwork> network_;
};

} // namespace

EnumerationAnswer SimulatedEnumerator::enumerateServers(std::uint32_t)
{
    return network_->enumerate();
}

SocketStartup SimulatedSocketLayer::startup(std::uint16_t)
{
    return network_->sockets;
}

std::optional<std::vector<std::uint8_t>> SimulatedSocketLayer::resolve(const std::string& name)
{
    return network_->resolve(name);
}

std::string SimulatedLocalAddress::localAddress()
{
    return network_->localAddress;
}

std::unique_ptr<WmiLocator> SimulatedManagement::createLocator()
{
    return std::make_unique<SimulatedLocator>(network_);
}

void installSimulatedNetwork(Platform& platform, std::shared_ptr<const SimulatedNetwork> network)
{
    platform.enumerator = std::make_unique<SimulatedEnumerator>(network);
    platform.sockets = std::make_unique<SimulatedSocketLayer>(network);
    platform.localAddress = std::make_unique<SimulatedLocalAddress>(network);
    platform.management = std::make_unique<SimulatedManagement>(std::move(network));
}

} // namespace vorlu
