#include "platform/SystemSocketLayer.h"

#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace vorlu {

SocketStartup SystemSocketLayer::startup(std::uint16_t)
{
    return SocketStartup{0, 0x0101, 32767};
}

std::optional<std::vector<std::uint8_t>> SystemSocketLayer::resolve(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> bytes;
    for (const addrinfo* a = found; a && !bytes; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr)
            continue;
        sockaddr_in sin{};
        std::memcpy(&sin, a->ai_addr, sizeof sin);
        std::uint8_t raw[4];
        std::memcpy(raw, &sin.sin_addr.s_addr, 4); // network order: first byte first
        bytes = std::vector<std::uint8_t>(raw, raw + 4);
    }
    freeaddrinfo(found);
    return bytes;
}

} // namespace vorlu
