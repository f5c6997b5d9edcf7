#include "inventory/StatusCodes.h"

#include "drives/DriveStatus.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <string_view>

namespace vorlu {

namespace {

struct AvailabilityRow {
    std::string_view code;
    AvailabilityEntry entry;
};

// Messages exactly as shown, trailing blanks included.
constexpr AvailabilityRow kAvailability[] = {
    {"1", {"Other", StatusColour::Green}},
    {"2", {"Unknown", StatusColour::Amber}},
    {"3", {"Running or Full Power", StatusColour::Green}},
    {"4", {"Warning", StatusColour::Amber}},
    {"5", {"In Test", StatusColour::Amber}},
    {"6", {"Not Applicable", StatusColour::Amber}},
    {"7", {"Power Off", StatusColour::Red}},
    {"8", {"Off Line", StatusColour::Amber}},
    {"9", {"Off Duty", StatusColour::Amber}},
    {"10", {"Degraded", StatusColour::Red}},
    {"11", {"Not Installed ", StatusColour::Red}},
    {"12", {"Install Error ", StatusColour::Red}},
    {"13", {"Power Save - The device is known to be in a power save mode, but its exact status is unknown.", StatusColour::Amber}},
    {"14", {"Power Save - Low Power Mode. The device is in a power save state but still functioning, and may exhibit degraded performance. ", StatusColour::Amber}},
    {"15", {"Power Save - Standby. The device is not functioning, but could be brought to full power quickly ", StatusColour::Amber}},
    {"16", {"Power Cycle ", StatusColour::Amber}},
    {"17", {"Power Save - Warning. The device is in a warning state, though also in a power save mode. ", StatusColour::Amber}},
    {"18", {"Paused. The device is paused.", StatusColour::Amber}},
    {"19", {"Not Ready. The device is not ready.", StatusColour::Amber}},
    {"20", {"Not Configured. The device is not configured.", StatusColour::Amber}},
    {"21", {"Quiesced. The device is quiet. ", StatusColour::Amber}},
};

struct TextRow {
    std::string_view code;
    const char* message;
};

constexpr TextRow kConfigManagerError[] = {
    {"0", "Device is working properly."},
    {"1", "Device is not configured correctly."},
    {"2", "Windows cannot load the driver for this device. "},
    {"3", "The driver for this device might be corrupted, or your system may be running low on memory or other resources."},
    {"4", "This device is not working properly. One of its drivers or your registry might be corrupted. "},
    {"5", "The driver for this device needs a resource that Windows cannot manage."},
    {"6", "The boot configuration for this device conflicts with other devices."},
    {"7", "Cannot filter."},
    {"8", "The driver loader for the device is missing. "},
    {"9", "This device is not working properly because the controlling firmware is reporting the resources for the device incorrectly."},
    {"10", "Device cannot start."},
    {"11", "Device failed."},
    {"12", "Device cannot find enough free resources that it can use."},
    {"13", "Windows cannot verify this device's resources. "},
    {"14", "Device cannot work properly until the computer is restarted."},
    {"15", "Device is not working properly due to a possible re-enumeration problem."},
    {"16", "Windows cannot identify all of the resources that the device uses."},
    {"17", "Device is requesting an unknown resource type."},
    {"18", "Device drivers must be reinstalled."},
    {"19", "Failure using the VxD loader."},
    {"20", "Your registry might be corrupted."},
    {"21", "System failure: Try changing the driver for this device. If that does not work, see your hardware documentation. Windows is removing this device"},
    {"22", "This device is disabled. "},
    {"23", "System failure. If changing the device driver is ineffective, see the hardware documentation."},
    {"24", "Device is not present, not working properly, or does not have all of its drivers installed."},
    {"25", "Windows is still setting up the device."},
    {"26", "Windows is still setting up the device."},
    {"27", "Device does not have valid log configuration."},
    {"28", "Device drivers are not installed."},
    {"29", "Device is disabled. The device firmware did not provide the required resources."},
    {"30", "Device is using an IRQ resource that another device is using."},
    {"31", "Device is not working properly. Windows cannot load the required device drivers."},
};

constexpr TextRow kStatusInfo[] = {
    {"1", "Other"},
    {"2", "Unknown"},
    {"3", "Enabled"},
    {"4", "Disabled"},
    {"5", "Not Applicable"},
};

struct StatusRow {
    std::string_view status;
    StatusEntry entry;
};

constexpr StatusRow kStatus[] = {
    {"ok", {"OK", StatusColour::Green}},
    {"error", {"Error", StatusColour::Red}},
    {"degraded", {"Degraded", StatusColour::Red}},
    {"unknown", {"Unknown", StatusColour::Amber}},
    {"pred fail", {"Predict Fail", StatusColour::Red}},
    {"starting", {"Starting", StatusColour::Green}},
    {"stopping", {"Stopping", StatusColour::Amber}},
    {"service", {"Service", StatusColour::Green}},
    {"stressed", {"Stressed", StatusColour::Red}},
    {"nonrecover", {"Non Recoverable", StatusColour::Red}},
    {"no contact", {"No Contact", StatusColour::Amber}},
    {"lost comm", {"Lost Communication", StatusColour::Amber}},
};

template <typename Row, std::size_t N, typename Key>
const Row* find(const Row (&rows)[N], const std::string& wanted, Key key)
{
    for (const Row& r : rows)
        if (key(r) == wanted)
            return &r;
    return nullptr;
}


} // namespace

std::optional<AvailabilityEntry> AvailabilityMessage(const std::string& code)
{
    if (const auto* r = find(kAvailability, code, [](const AvailabilityRow& row) { return row.code; }))
        return r->entry;
    return std::nullopt;
}

std::optional<std::string> ConfigManagerErrorMessage(const std::string& code)
{
    if (const auto* r = find(kConfigManagerError, code, [](const TextRow& row) { return row.code; }))
        return std::string(r->message);
    return std::nullopt;
}

std::optional<std::string> StatusInfoMessage(const std::string& code)
{
    if (const auto* r = find(kStatusInfo, code, [](const TextRow& row) { return row.code; }))
        return std::string(r->message);
    return std::nullopt;
}

std::optional<StatusEntry> StatusLookup(const std::string& status)
{
    if (const auto* r = find(kStatus, lowerAscii(status), [](const StatusRow& row) { return row.status; }))
        return r->entry;
    return std::nullopt;
}

int DecideDriveColour(const std::string& availability, const std::string& configManagerErrorCode,
                      const std::string& status)
{
    int colour = StatusColour::None;
    if (const auto a = AvailabilityMessage(availability))
        colour = a->colour;
    if (ConfigManagerErrorMessage(configManagerErrorCode))
        colour = StatusColour::Amber;
    if (const auto s = StatusLookup(status))
        colour = s->colour;
    return colour;
}

} // namespace vorlu
