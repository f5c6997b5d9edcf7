#pragma once
#include "nodes/NodeTable.h"
#include "platform/Management.h"

#include <string>
#include <vector>

namespace vorlu {

// The reason a node without an address is refused.
inline constexpr const char* NoAddressText = "no address";

// The parameters of the next management connection, one record for the whole
// program. An empty server is this computer, but only with no node named
// (ClearConnection, the local commands): a named node without an address is
// refused with NoAddressText.
struct WmiConnection {
    std::string server;
    std::string user;
    std::string password;
    std::string node; // the node's name, for the log; empty for this computer
};

// The node's IP, and its own login or, when it has none, the administrator's.
void SelectNodeCredentials(WmiConnection& connection, const NodeRecord& node, const std::string& adminUser,
                           const std::string& adminPassword);
// This computer with the service's default login: all three fields empty.
void ClearConnection(WmiConnection& connection);

// Logs a warning naming the node, its address and login and what failed; the
// reason must already be fit to be shown (displayReason).
void logFailure(const WmiConnection& connection, const char* what, const std::string& reason);

// The reason a service gave for a failure, fit to be shown: the password of
// the connection never appears in it, and it is one line.
std::string displayReason(const std::string& reason, const WmiConnection& connection);

} // namespace vorlu
