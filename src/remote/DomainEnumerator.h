#pragma once
#include "platform/RemoteTransport.h"
#include "platform/ServerEnumerator.h"
#include "platform/SocketLayer.h"
#include "remote/AnnouncedAddresses.h"
#include "remote/DirectoryComputers.h"
#include "remote/KerberosNames.h"

#include <functional>
#include <memory>
#include <optional>

namespace vorlu {

// The Network Scan's computers on a domain network: those that announce
// themselves (WS-Discovery), then the enabled computer objects of the domain
// not already listed, each computer once whatever the letter case. A domain
// computer's DNS name is resolved and its address remembered for the scan,
// since its bare name may be unknown to this machine's resolver, and the DNS
// name by that address for the node's Kerberos sign-in. When the
// directory cannot be read the scan keeps what WS-Discovery found, and the
// reason goes to the log. The directory and the resolver block: they run
// through the runner given (the program's background work, so the window
// keeps painting), or on the calling thread without one.
class DomainEnumerator : public ServerEnumerator {
public:
    // The directory to ask, or nothing when no domain is set or known.
    using DirectorySource = std::function<std::optional<DirectoryQuery>()>;
    using DirectoryLister = std::function<std::vector<DirectoryComputer>(const DirectoryQuery&)>;
    using BlockingRunner = std::function<void(const std::function<void()>&)>;

    DomainEnumerator(std::unique_ptr<ServerEnumerator> discovery, DirectorySource source,
                     std::unique_ptr<SocketLayer> resolver,
                     std::shared_ptr<AnnouncedAddresses> announced, std::shared_ptr<KerberosNames> names = nullptr,
                     BlockingRunner runner = {}, DirectoryLister lister = listDomainComputers);

    EnumerationAnswer enumerateServers(std::uint32_t typeMask) override;

    // Why the last scan could not read the directory; empty when it could or did not try.
    const std::string& lastDirectoryFailure() const { return failure_; }

private:
    std::unique_ptr<ServerEnumerator> discovery_;
    DirectorySource source_;
    std::unique_ptr<SocketLayer> resolver_;
    std::shared_ptr<AnnouncedAddresses> announced_;
    std::shared_ptr<KerberosNames> names_;
    BlockingRunner runner_;
    DirectoryLister lister_;
    std::string failure_;
};

// The directory of the transport's domain, or else of this computer's own
// (ownDomain), asked with the ticket the user holds until a login is put in;
// nothing when neither is known.
std::optional<DirectoryQuery> directoryOf(const RemoteTransport& transport);

} // namespace vorlu
