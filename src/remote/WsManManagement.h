#pragma once
#include "platform/Management.h"
#include "platform/RemoteTransport.h"
#include "platform/NodeConnection.h"
#include "remote/KerberosNames.h"
#include "remote/NodeLoginFacts.h"
#include "remote/WsManChannel.h"

#include <functional>
#include <memory>

namespace vorlu {

// The management service of remote nodes over WS-Management: ConnectServer
// names the node and login (the login rides in the first query, so a refused
// login fails there), ExecQuery runs one WQL enumeration (Enumerate, Pull until
// the end, Release when it is given up). The services a locator gives for one
// node and login share one signed-in, kept-alive connection, whatever their
// namespace, until the last of them is released; a failure or a fault ends it
// at once, and so does a connection with another login. The transport is read
// once per locator; every call is bounded by its time limits and may run on
// any one thread at a time.
class WsManManagement : public ManagementService {
public:
    // Without contexts, makeSignInContext for the node signs in (Kerberos, else NTLM),
    // with the node's own Kerberos name, else the DNS name names knows for the
    // node's address where it knows one. A node that ownConnections knows is
    // reached its own way (scheme, port, sign-in) instead of the transport's.
    explicit WsManManagement(std::function<RemoteTransport()> transport, SecurityContextFactory contexts = {},
                             std::shared_ptr<const KerberosNames> names = nullptr,
                             NodeConnectionLookup ownConnections = {});
    std::unique_ptr<WmiLocator> createLocator() override;

private:
    std::function<RemoteTransport()> transport_;
    SecurityContextFactory contexts_;
    std::shared_ptr<const KerberosNames> names_;
    NodeConnectionLookup ownConnections_;
    std::shared_ptr<NodeLoginFacts> facts_ = std::make_shared<NodeLoginFacts>();
};

// Across all replies of one query; the drive commands keep far fewer.
inline constexpr std::size_t MaxQueryItems = 100000;

// The rows of one query on a signed-in channel, within the deadline: more
// than maxItems abandon the enumeration. Throws WmiError.
std::vector<WmiRow> runEnumeration(WsManChannel& channel, const std::string& nameSpace, const std::string& query,
                                   const QDeadlineTimer& deadline, std::size_t maxItems = MaxQueryItems);

} // namespace vorlu
