#include "platform/ui/SystemPlatform.h"

#include "platform/CdromDevices.h"
#include "platform/LinuxManagement.h"
#include "platform/ManagementRouter.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "platform/SystemLocalAddress.h"
#include "platform/SystemSocketLayer.h"
#include "platform/UnavailableServices.h"

#include <climits>
#include <unistd.h>

namespace vorlu {

namespace {

ThisComputer thisMachine()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        name[0] = '\0';
    // The address the program takes as this computer's, so a node picked by it reaches this adapter.
    return {name, {SystemLocalAddress().localAddress()}};
}

} // namespace

QtMessageBoxes& installSystemPlatform(Platform& platform)
{
    const ThisComputer here = thisMachine();
    platform.enumerator = std::make_unique<UnavailableEnumerator>();
    platform.sockets = std::make_unique<SystemSocketLayer>();
    platform.localAddress = std::make_unique<SystemLocalAddress>();
    platform.management = std::make_unique<ManagementRouter>(
        here, std::make_unique<LinuxManagement>(here, "/sys", std::make_shared<SystemCdromDevices>()),
        std::make_unique<UnavailableManagement>());
    auto messages = std::make_unique<QtMessageBoxes>();
    QtMessageBoxes& boxes = *messages;
    platform.messages = std::move(messages);
    platform.programEnd = std::make_unique<QtProgramEnd>();
    platform.web = std::make_unique<QtWebOpener>();
    return boxes;
}

} // namespace vorlu
