#include "app/SystemPlatform.h"

#include "platform/SystemLocalAddress.h"
#include "platform/SystemSocketLayer.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "remote/AnnouncingSocketLayer.h"
#include "remote/SystemManagement.h"
#include "remote/WsDiscoveryEnumerator.h"

namespace vorlu {

QtMessageBoxes& installSystemPlatform(Platform& platform, std::function<RemoteTransport()> transport)
{
    const ThisComputer here = thisMachine();
    // Workgroup computers are seldom in this machine's resolver; the scan
    // tells the socket layer where each one answered from.
    auto announced = std::make_shared<AnnouncedAddresses>();
    platform.enumerator = std::make_unique<WsDiscoveryEnumerator>(WsDiscoveryOptions{}, announced);
    platform.sockets = std::make_unique<AnnouncingSocketLayer>(std::make_unique<SystemSocketLayer>(), announced);
    platform.localAddress = std::make_unique<SystemLocalAddress>();
    platform.management = makeSystemManagement(here, std::move(transport));
    auto messages = std::make_unique<QtMessageBoxes>();
    QtMessageBoxes& boxes = *messages;
    platform.messages = std::move(messages);
    platform.programEnd = std::make_unique<QtProgramEnd>();
    platform.web = std::make_unique<QtWebOpener>();
    return boxes;
}

} // namespace vorlu
