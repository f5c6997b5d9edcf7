#pragma once
#include "platform/RemoteTransport.h"

#include <functional>
#include <optional>
#include <string>

namespace vorlu {

// How one node's management service is reached, where it differs from the
// program's Remote settings: a node with its own takes these and keeps the
// program's certificate check, CA file and time limits.
struct NodeConnection {
    bool https = false;
    int port = DefaultHttpPort;
    SignInMethod signIn = SignInMethod::Automatic;
    // The service principal to ask a ticket for, for Kerberos; empty: the
    // one made from the node's name.
    std::string kerberosName;

    bool operator==(const NodeConnection&) const = default;
};

// The node's own connection, looked up by the server a connection is made
// to (its address or name); nothing for a node without one. Called on
// worker threads.
using NodeConnectionLookup = std::function<std::optional<NodeConnection>(const std::string& server)>;

// The program's transport with the node's own connection laid over it.
RemoteTransport withNodeConnection(RemoteTransport transport, const NodeConnection& own);

} // namespace vorlu
