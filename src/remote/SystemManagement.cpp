#include "remote/SystemManagement.h"

#include "platform/CdromDevices.h"
#include "platform/LinuxManagement.h"
#include "platform/ManagementRouter.h"
#include "platform/SystemLocalAddress.h"

#include <climits>
#include <unistd.h>

namespace vorlu {

ThisComputer thisMachine()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        name[0] = '\0';
    // The address the program takes as this computer's, so a node picked by it reaches this adapter.
    return {name, {SystemLocalAddress().localAddress()}};
}

std::unique_ptr<ManagementService> makeSystemManagement(const ThisComputer& here,
                                                        std::function<RemoteTransport()> transport,
                                                        std::shared_ptr<const KerberosNames> names,
                                                        NodeConnectionLookup ownConnections)
{
    return std::make_unique<ManagementRouter>(
        here, std::make_unique<LinuxManagement>(here, "/sys", std::make_shared<SystemCdromDevices>()),
        std::make_unique<NodeConnectionManagement>(std::move(transport), std::move(ownConnections),
                                                   SecurityContextFactory{}, std::move(names)));
}

} // namespace vorlu
