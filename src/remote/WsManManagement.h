#pragma once
#include "platform/Management.h"
#include "platform/RemoteTransport.h"
#include "remote/KerberosNames.h"
#include "remote/WsManChannel.h"

#include <functional>
#include <memory>

namespace vorlu {

// The management service of remote nodes over WS-Management: ConnectServer
// signs in on the node's endpoint (a refused login fails there), ExecQuery
// runs one WQL enumeration (Enumerate, Pull until the end, Release when it is
// given up). The transport is read once per locator; every call is bounded
// by its time limits and may run on any one thread at a time.
class WsManManagement : public ManagementService {
public:
    // Without contexts, makeSignInContext for the node signs in (Kerberos, else NTLM),
    // with the DNS name names knows for the node's address where it knows one.
    explicit WsManManagement(std::function<RemoteTransport()> transport, SecurityContextFactory contexts = {},
                             std::shared_ptr<const KerberosNames> names = nullptr);
    std::unique_ptr<WmiLocator> createLocator() override;

private:
    std::function<RemoteTransport()> transport_;
    SecurityContextFactory contexts_;
    std::shared_ptr<const KerberosNames> names_;
};

// Across all replies of one query; the drive commands keep far fewer.
inline constexpr std::size_t MaxQueryItems = 100000;

// The rows of one query on a signed-in channel, within the deadline: more
// than maxItems abandon the enumeration. Throws WmiError.
std::vector<WmiRow> runEnumeration(WsManChannel& channel, const std::string& nameSpace, const std::string& query,
                                   const QDeadlineTimer& deadline, std::size_t maxItems = MaxQueryItems);

} // namespace vorlu
