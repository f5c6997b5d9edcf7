#include "platform/SystemLocalAddress.h"

#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace vorlu {

std::string SystemLocalAddress::localAddress()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return "127.0.0.1";
    std::string result = "127.0.0.1";
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        if ((i->ifa_flags & IFF_LOOPBACK) || !(i->ifa_flags & IFF_UP))
            continue;
        sockaddr_in sin{};
        std::memcpy(&sin, i->ifa_addr, sizeof sin);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &sin.sin_addr, text, sizeof text)) {
            result = text;
            break;
        }
    }
    freeifaddrs(list);
    return result;
}

} // namespace vorlu
