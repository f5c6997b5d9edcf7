#pragma once
#include "platform/Management.h"
#include "platform/SecretStore.h"
#include "platform/ServerEnumerator.h"
#include "platform/SocketLayer.h"
#include "platform/UserInterfaceServices.h"
#include <memory>

namespace vorlu {

// The adapters chosen once at start-up and handed to the logic.
struct Platform {
    std::unique_ptr<ServerEnumerator> enumerator;
    std::unique_ptr<SocketLayer> sockets;
    std::unique_ptr<LocalAddressSource> localAddress;
    std::unique_ptr<ManagementService> management;
    std::unique_ptr<MessageBoxes> messages;
    std::unique_ptr<ProgramEnd> programEnd;
    std::unique_ptr<ProgramRestart> restart;
    std::unique_ptr<WebOpener> web;
    // The desktop's keyring; none where there is no such service.
    std::unique_ptr<SecretStore> secrets;
};

} // namespace vorlu
