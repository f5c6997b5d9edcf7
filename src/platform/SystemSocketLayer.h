#pragma once
#include "platform/SocketLayer.h"

namespace vorlu {

// This machine's resolver. There is no socket layer to start on this platform,
// so start-up always reports the version and socket count the program asks for.
class SystemSocketLayer : public SocketLayer {
public:
    SocketStartup startup(std::uint16_t requestedVersion) override;
    // IPv4 only (getaddrinfo is safe to call from several threads).
    std::optional<std::vector<std::uint8_t>> resolve(const std::string& name) override;
};

} // namespace vorlu
