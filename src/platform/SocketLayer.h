#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

struct SocketStartup {
    int error = 0;                  // non-zero: the layer did not start
    std::uint16_t version = 0x0101; // low byte major, high byte minor
    int maxSockets = 32767;
};

// Socket layer start-up and the host database. resolve() must be safe to call
// from several threads at once: scans resolve names in parallel.
class SocketLayer {
public:
    virtual ~SocketLayer() = default;
    virtual SocketStartup startup(std::uint16_t requestedVersion) = 0;
    // The address bytes of the first address of the host entry; nothing when the
    // name is unknown.
    virtual std::optional<std::vector<std::uint8_t>> resolve(const std::string& name) = 0;
};

// This computer's own IPv4 address, dotted.
class LocalAddressSource {
public:
    virtual ~LocalAddressSource() = default;
    virtual std::string localAddress() = 0;
};

} // namespace vorlu
