#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace vorlu {

struct PortProbeOptions {
    std::vector<std::uint16_t> ports{5985, 5986};
    // An attempt not answered by then counts as closed (a dropped packet).
    int timeoutMs = 300;
    // Attempts under way at once; each holds one socket.
    int inFlight = 512;
};

// Tries a TCP connection to every port of every address with non-blocking
// sockets on the calling thread, at most inFlight at a time, so memory and
// descriptors stay bounded whatever the number of addresses. openPorts gets
// each address (host byte order) with at least one port open, with the open
// ports in the order of options.ports, as soon as its last attempt ended;
// addresses with none are not reported. Stops early when cancel becomes true.
// done, when given, counts the addresses whose attempts have all ended.
// Throws std::runtime_error when no socket can be opened at all.
void probePorts(std::uint32_t first, std::uint32_t count, const PortProbeOptions& options,
                const std::function<void(std::uint32_t address, const std::vector<std::uint16_t>& open)>& openPorts,
                const std::atomic<bool>* cancel = nullptr, std::atomic<std::uint32_t>* done = nullptr);

} // namespace vorlu
