#include "app/SystemPlatform.h"

#include "platform/SystemLocalAddress.h"
#include "platform/SystemSocketLayer.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "remote/AnnouncingSocketLayer.h"
#include "commands/BackgroundWork.h"
#include "remote/DomainEnumerator.h"
#include "remote/SystemManagement.h"
#include "remote/WsDiscoveryEnumerator.h"

namespace vorlu {

QtMessageBoxes& installSystemPlatform(Platform& platform, std::function<RemoteTransport()> transport,
                                      std::function<AdminLogin()> adminLogin,
                                      std::function<std::optional<NodeConnection>(const std::string&)> ownConnections)
{
    const ThisComputer here = thisMachine();
    // Workgroup computers are seldom in this machine's resolver; the scan
    // tells the socket layer where each one answered from.
    auto announced = std::make_shared<AnnouncedAddresses>();
    // On a domain network the directory lists the computers that do not announce themselves.
    auto kerberosNames = std::make_shared<KerberosNames>();
    platform.enumerator = std::make_unique<DomainEnumerator>(
        std::make_unique<WsDiscoveryEnumerator>(WsDiscoveryOptions{}, announced),
        [transport, adminLogin] {
            auto query = directoryOf(transport());
            if (query && adminLogin) {
                const AdminLogin login = adminLogin();
                query->login = login.user;
                query->password = login.password;
            }
            return query;
        },
        std::make_unique<SystemSocketLayer>(), announced, kerberosNames,
        [work = std::make_shared<BackgroundWork>()](const std::function<void()>& job) { work->run(job); });
    platform.sockets = std::make_unique<AnnouncingSocketLayer>(std::make_unique<SystemSocketLayer>(), announced);
    platform.localAddress = std::make_unique<SystemLocalAddress>();
    platform.management =
        makeSystemManagement(here, std::move(transport), std::move(kerberosNames), std::move(ownConnections));
    auto messages = std::make_unique<QtMessageBoxes>();
    QtMessageBoxes& boxes = *messages;
    platform.messages = std::move(messages);
    platform.programEnd = std::make_unique<QtProgramEnd>();
    platform.web = std::make_unique<QtWebOpener>();
    return boxes;
}

} // namespace vorlu
