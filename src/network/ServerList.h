#pragma once
#include "commands/RepaintPace.h"
#include "platform/ServerEnumerator.h"
#include "platform/UserInterfaceServices.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorlu {

struct ServerList {
    bool success = false;         // the enumeration delivered at least one name
    std::uint32_t errorCode = 0;  // platform code of a failed call, else 0
    std::vector<std::string> names;
};

// Lists the servers the local computer can see. The enumerator answers the
// whole list in one call; a "more data" answer is taken as all there is, so
// the enumeration always ends and lists no server twice. Platform errors and
// other failures are shown here; the caller only reads success.
ServerList EnumerateServers(ServerEnumerator& enumerator, MessageBoxes& boxes, RepaintPace& pace,
                            std::uint32_t typeMask = ServerEnumerator::kAllServerTypes);

} // namespace vorlu
