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

// A connection opened by OpenConnection: the locator and the services object,
// released together when it goes out of scope.
struct ManagementSession {
    std::unique_ptr<WmiLocator> locator;
    std::unique_ptr<WmiServices> services;
};

// Creates a locator and calls ConnectServer(server, nameSpace, user, password).
// Throws WmiError; a refused or failed connection is logged as a warning
// with the node and the reason, never the password.
ManagementSession OpenConnection(ManagementService& service, const WmiConnection& connection,
                                 const std::string& nameSpace);

// OpenConnection, one query, and the release of everything it opened: the
// only shape in which the program talks to a node. Throws WmiError, logged
// as OpenConnection's. Safe to run on a worker thread when the service is.
std::vector<WmiRow> QueryNode(ManagementService& service, const WmiConnection& connection,
                              const std::string& nameSpace, const std::string& query);

// One query on an open session; a failure is logged as a warning, then thrown.
std::vector<WmiRow> RunQuery(ManagementSession& session, const WmiConnection& connection, const std::string& query);

// The reason a service gave for a failure, fit to be shown: the password of
// the connection never appears in it, and it is one line.
std::string displayReason(const std::string& reason, const WmiConnection& connection);

} // namespace vorlu
