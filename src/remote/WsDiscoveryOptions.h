#pragma once
#include "remote/WsDiscoveryMessages.h"

#include <QHostAddress>
#include <QStringList>

#include <chrono>
#include <cstdint>

namespace vorlu {

struct WsDiscoveryTiming {
    // The probe goes out this often, each repeat after a random gap.
    int probeSends = 4;
    std::chrono::milliseconds minGap{50};
    std::chrono::milliseconds maxGap{250};
    // Probe matches are taken this long after the first probe; hosts are due
    // to answer within 4 s and Windows answers within 2.5 s.
    std::chrono::milliseconds listen{3000};
    // One Resolve or metadata Get.
    std::chrono::milliseconds request{2000};
    // The whole scan: whatever is still open then is given up.
    std::chrono::milliseconds deadline{5000};
};

struct WsDiscoveryOptions {
    QHostAddress group{QString::fromLatin1(wsd::GroupV4)};
    quint16 port = wsd::Port;
    // Interfaces to probe on, by name. Empty: every interface that is up,
    // can multicast and has an IPv4 address. A named interface is used as it
    // is, so a test can probe on its own interface.
    QStringList interfaces;
    WsDiscoveryTiming timing;
    int maxParallelRequests = 32;
};

// The platform codes a failed discovery answers with (they choose the
// "Network error" text).
inline constexpr std::uint32_t AccessDeniedCode = 5;
inline constexpr std::uint32_t NoNetworkCode = 1222;

} // namespace vorlu
