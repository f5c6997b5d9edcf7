#pragma once
#include "platform/Management.h"
#include "platform/ThisComputer.h"

#include <memory>

namespace vorlu {

// Sends each connection to the service that can answer it: this computer's
// own adapter when the server names this computer, the remote one otherwise.
class ManagementRouter : public ManagementService {
public:
    ManagementRouter(ThisComputer computer, std::unique_ptr<ManagementService> thisComputer,
                     std::unique_ptr<ManagementService> remote);
    std::unique_ptr<WmiLocator> createLocator() override;

private:
    ThisComputer computer_;
    std::unique_ptr<ManagementService> thisComputer_;
    std::unique_ptr<ManagementService> remote_;
};

} // namespace vorlu
