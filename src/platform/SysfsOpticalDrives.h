#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace vorlu {

// One optical drive as the kernel lists it under class/block.
struct SysfsOpticalDrive {
    std::string devicePath; // the device node, e.g. /dev/sr0
    std::string vendor;     // blanks around the values removed
    std::string model;
    std::string state; // the SCSI device state ("running"); empty when the file is absent
};

// The block devices of SCSI type 5 (CD/DVD) under sysfsRoot/class/block, in
// the kernel's numbering order (sr2 before sr10). A tree that cannot be read
// lists nothing.
std::vector<SysfsOpticalDrive> findOpticalDrives(const std::filesystem::path& sysfsRoot);

} // namespace vorlu
