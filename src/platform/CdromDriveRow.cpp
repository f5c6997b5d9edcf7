#include "platform/CdromDriveRow.h"

#include <cerrno>
#include <linux/cdrom.h>
#include <system_error>

namespace vorlu {

namespace {

using Value = std::optional<std::string>;

// The status properties in the order the diagnostics read them.
struct StatusValues {
    Value availability, configManagerErrorCode, errorCleared, errorDescription, lastErrorCode, status, statusInfo,
        mediaLoaded;
};

// Codes of the management service: Availability 2 Unknown, 3 Running or Full
// Power, 8 Off Line, 19 Not Ready; ConfigManagerErrorCode 0 working properly,
// 24 not present.
StatusValues answered(int driveStatus)
{
    switch (driveStatus) {
    case CDS_DISC_OK:
        return {"3", "0", {}, {}, {}, "OK", {}, "True"};
    case CDS_NO_DISC:
    case CDS_TRAY_OPEN:
        return {"3", "0", {}, {}, {}, "OK", {}, "False"};
    case CDS_DRIVE_NOT_READY:
        // Answers, but is still loading or spinning up: whether media is in is not known yet.
        return {"19", "0", {}, {}, {}, "OK", {}, {}};
    default: // CDS_NO_INFO: the driver cannot tell
        return {"2", "0", {}, {}, {}, "Unknown", {}, {}};
    }
}

StatusValues failed(const Value& configManagerErrorCode, const std::string& reason, const Value& errorNumber,
                    const std::string& status)
{
    return {"8", configManagerErrorCode, "False", reason, errorNumber, status, {}, {}};
}

std::string errnoText(int error)
{
    return std::generic_category().message(error);
}

StatusValues statusOf(const SysfsOpticalDrive& drive, const CdromAnswer& answer)
{
    // A device the kernel took off line after failed error recovery is faulty,
    // whatever opening its node still gives.
    if (!drive.state.empty() && drive.state != "running")
        return failed({}, "the kernel reports the device " + drive.state, {}, "Error");
    const std::string errorNumber = std::to_string(answer.value);
    switch (answer.outcome) {
    case CdromAnswer::Outcome::Answered:
        return answered(answer.value);
    case CdromAnswer::Outcome::OpenFailed: {
        const bool absent = answer.value == ENOENT || answer.value == ENXIO || answer.value == ENODEV;
        return failed(absent ? Value("24") : Value(), "cannot open " + drive.devicePath + ": " + errnoText(answer.value),
                      errorNumber, "No Contact");
    }
    case CdromAnswer::Outcome::RequestFailed:
        return failed({}, "drive status request on " + drive.devicePath + " failed: " + errnoText(answer.value),
                      errorNumber, "Error");
    }
    return {};
}

} // namespace

WmiRow cdromDriveRow(const SysfsOpticalDrive& drive, const std::optional<CdromAnswer>& answer)
{
    std::string name = drive.vendor;
    if (!name.empty() && !drive.model.empty())
        name += ' ';
    name += drive.model;
    std::vector<std::pair<std::string, Value>> props{{"Drive", drive.devicePath},
                                                     {"Name", name.empty() ? Value() : Value(name)}};
    if (answer) {
        const StatusValues s = statusOf(drive, *answer);
        props.insert(props.end(), {{"Availability", s.availability},
                                   {"ConfigManagerErrorCode", s.configManagerErrorCode},
                                   {"ErrorCleared", s.errorCleared},
                                   {"ErrorDescription", s.errorDescription},
                                   {"LastErrorCode", s.lastErrorCode},
                                   {"Status", s.status},
                                   {"StatusInfo", s.statusInfo},
                                   {"MediaLoaded", s.mediaLoaded}});
    }
    return WmiRow(std::move(props));
}

} // namespace vorlu
