#pragma once
#include "platform/CdromDevices.h"
#include "platform/Management.h"
#include "platform/ThisComputer.h"

#include <filesystem>
#include <memory>

namespace vorlu {

// The management service of this computer on Linux: Win32_ComputerSystem
// answers the host name, Win32_CDROMDrive the optical drives the kernel lists
// in sysfs, their state asked from the device layer. Only this computer and
// root\cimv2 are served; the login is not checked, since reading the drives
// needs no more than the program's own user. Safe from any thread.
class LinuxManagement : public ManagementService {
public:
    LinuxManagement(ThisComputer computer, std::filesystem::path sysfsRoot, std::shared_ptr<CdromDevices> devices);
    std::unique_ptr<WmiLocator> createLocator() override;

    struct Sources {
        ThisComputer computer;
        std::filesystem::path sysfsRoot;
        std::shared_ptr<CdromDevices> devices;
    };

private:
    // Shared with every locator and services object handed out, which may outlive this.
    std::shared_ptr<const Sources> sources_;
};

} // namespace vorlu
