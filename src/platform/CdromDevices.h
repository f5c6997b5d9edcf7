#pragma once
#include <string>

namespace vorlu {

// What asking one optical drive for its state gave.
struct CdromAnswer {
    enum class Outcome {
        Answered,      // value is the drive-status ioctl's CDS_* result
        OpenFailed,    // value is the errno of opening the device node
        RequestFailed, // value is the errno of the drive-status ioctl
    };
    Outcome outcome = Outcome::Answered;
    int value = 0;
};

// The device layer under this computer's drives, injected so the adapter can
// be tested without a drive. Safe from any thread.
class CdromDevices {
public:
    virtual ~CdromDevices() = default;
    virtual CdromAnswer driveStatus(const std::string& devicePath) = 0;
};

// Opens the device node without waiting for media and asks the drive-status
// ioctl for the current slot.
class SystemCdromDevices : public CdromDevices {
public:
    CdromAnswer driveStatus(const std::string& devicePath) override;
};

} // namespace vorlu
