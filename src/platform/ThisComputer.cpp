#include "platform/ThisComputer.h"

#include "platform/TextCase.h"

#include <arpa/inet.h>

namespace vorlu {

namespace {

bool isLoopback(const std::string& server)
{
    in_addr v4{};
    if (inet_pton(AF_INET, server.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    return inet_pton(AF_INET6, server.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

} // namespace

bool ThisComputer::isAddressedBy(const std::string& server) const
{
    if (server.empty() || server == "." || equalsIgnoringCase(server, "localhost") || isLoopback(server))
        return true;
    if (!hostName.empty()) {
        const std::string shortName = hostName.substr(0, hostName.find('.'));
        if (equalsIgnoringCase(server, hostName) || equalsIgnoringCase(server, shortName))
            return true;
    }
    for (const std::string& address : addresses)
        if (server == address)
            return true;
    return false;
}

} // namespace vorlu
