#pragma once
#include "platform/SocketLayer.h"

namespace vorlu {

// The first non-loopback IPv4 address of an interface that is up;
// "127.0.0.1" when there is none.
class SystemLocalAddress : public LocalAddressSource {
public:
    std::string localAddress() override;
};

} // namespace vorlu
