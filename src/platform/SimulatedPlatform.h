#pragma once
#include "platform/Platform.h"
#include "platform/SimulatedNetwork.h"

#include <memory>

namespace vorlu {

// The platform interfaces answered from a simulated network. All of them share
// one immutable network, so they may be used from several threads at once.
class SimulatedEnumerator : public ServerEnumerator {
public:
    explicit SimulatedEnumerator(std::shared_ptr<const SimulatedNetwork> network) : network_(std::move(network)) {}
    // One call answers the whole list, so the caller's loop always ends.
    EnumerationAnswer enumerateServers(std::uint32_t typeMask) override;

private:
    std::shared_ptr<const SimulatedNetwork> network_;
};

class SimulatedSocketLayer : public SocketLayer {
public:
    explicit SimulatedSocketLayer(std::shared_ptr<const SimulatedNetwork> network) : network_(std::move(network)) {}
    SocketStartup startup(std::uint16_t requestedVersion) override;
    std::optional<std::vector<std::uint8_t>> resolve(const std::string& name) override;

private:
    std::shared_ptr<const SimulatedNetwork> network_;
};

class SimulatedLocalAddress : public LocalAddressSource {
public:
    explicit SimulatedLocalAddress(std::shared_ptr<const SimulatedNetwork> network) : network_(std::move(network)) {}
    std::string localAddress() override;

private:
    std::shared_ptr<const SimulatedNetwork> network_;
};

class SimulatedManagement : public ManagementService {
public:
    explicit SimulatedManagement(std::shared_ptr<const SimulatedNetwork> network) : network_(std::move(network)) {}
    std::unique_ptr<WmiLocator> createLocator() override;

private:
    std::shared_ptr<const SimulatedNetwork> network_;
};

// Points enumerator, sockets, localAddress and management of platform at
// adapters answering from network; the user-interface services are left as
// they are.
void installSimulatedNetwork(Platform& platform, std::shared_ptr<const SimulatedNetwork> network);

} // namespace vorlu
