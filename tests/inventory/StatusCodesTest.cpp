// The four code tables, word for word, and the colour each drive ends with.
#include "drives/DriveStatus.h"
#include "inventory/StatusCodes.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using namespace StatusColour;

TEST(StatusCodes, AvailabilityMessagesAndColours)
{
    const struct {
        const char* code;
        const char* message;
        int colour;
    } cases[] = {
        {"1", "Other", Green},
        {"2", "Unknown", Amber},
        {"3", "Running or Full Power", Green},
        {"4", "Warning", Amber},
        {"5", "In Test", Amber},
        {"6", "Not Applicable", Amber},
        {"7", "Power Off", Red},
        {"8", "Off Line", Amber},
        {"9", "Off Duty", Amber},
        {"10", "Degraded", Red},
        {"11", "Not Installed ", Red},
        {"12", "Install Error ", Red},
        {"13", "Power Save - The device is known to be in a power save mode, but its exact status is unknown.", Amber},
        {"14", "Power Save - Low Power Mode. The device is in a power save state but still functioning, and may "
               "exhibit degraded performance. ", Amber},
        {"15", "Power Save - Standby. The device is not functioning, but could be brought to full power quickly ",
         Amber},
        {"16", "Power Cycle ", Amber},
        {"17", "Power Save - Warning. The device is in a warning state, though also in a power save mode. ", Amber},
        {"18", "Paused. The device is paused.", Amber},
        {"19", "Not Ready. The device is not ready.", Amber},
        {"20", "Not Configured. The device is not configured.", Amber},
        {"21", "Quiesced. The device is quiet. ", Amber},
    };
    for (const auto& c : cases) {
        const auto e = AvailabilityMessage(c.code);
        ASSERT_TRUE(e) << c.code;
        EXPECT_EQ(std::string(e->message), c.message) << c.code;
        EXPECT_EQ(e->colour, c.colour) << c.code;
    }
    for (const char* other : {"0", "22", "10.0", "03", "", "ok"})
        EXPECT_FALSE(AvailabilityMessage(other)) << other;
}

TEST(StatusCodes, ConfigManagerErrorMessages)
{
    const char* messages[] = {
        "Device is working properly.",
        "Device is not configured correctly.",
        "Windows cannot load the driver for this device. ",
        "The driver for this device might be corrupted, or your system may be running low on memory or other "
        "resources.",
        "This device is not working properly. One of its drivers or your registry might be corrupted. ",
        "The driver for this device needs a resource that Windows cannot manage.",
        "The boot configuration for this device conflicts with other devices.",
        "Cannot filter.",
        "The driver loader for the device is missing. ",
        "This device is not working properly because the controlling firmware is reporting the resources for the "
        "device incorrectly.",
        "Device cannot start.",
        "Device failed.",
        "Device cannot find enough free resources that it can use.",
        "Windows cannot verify this device's resources. ",
        "Device cannot work properly until the computer is restarted.",
        "Device is not working properly due to a possible re-enumeration problem.",
        "Windows cannot identify all of the resources that the device uses.",
        "Device is requesting an unknown resource type.",
        "Device drivers must be reinstalled.",
        "Failure using the VxD loader.",
        "Your registry might be corrupted.",
        "System failure: Try changing the driver for this device. If that does not work, see your hardware "
        "documentation. Windows is removing this device",
        "This device is disabled. ",
        "System failure. If changing the device driver is ineffective, see the hardware documentation.",
        "Device is not present, not working properly, or does not have all of its drivers installed.",
        "Windows is still setting up the device.",
        "Windows is still setting up the device.",
        "Device does not have valid log configuration.",
        "Device drivers are not installed.",
        "Device is disabled. The device firmware did not provide the required resources.",
        "Device is using an IRQ resource that another device is using.",
        "Device is not working properly. Windows cannot load the required device drivers.",
    };
    for (int code = 0; code <= 31; ++code)
        EXPECT_EQ(ConfigManagerErrorMessage(std::to_string(code)), messages[code]) << code;
    for (const char* other : {"32", "-1", "1.0", ""})
        EXPECT_FALSE(ConfigManagerErrorMessage(other)) << other;
}

TEST(StatusCodes, StatusInfoMessages)
{
    EXPECT_EQ(StatusInfoMessage("1"), "Other");
    EXPECT_EQ(StatusInfoMessage("2"), "Unknown");
    EXPECT_EQ(StatusInfoMessage("3"), "Enabled");
    EXPECT_EQ(StatusInfoMessage("4"), "Disabled");
    EXPECT_EQ(StatusInfoMessage("5"), "Not Applicable");
    EXPECT_FALSE(StatusInfoMessage("0"));
    EXPECT_FALSE(StatusInfoMessage("6"));
}

TEST(StatusCodes, StatusTableInAnyLetterCase)
{
    const struct {
        const char* status;
        const char* gridText;
        int colour;
    } cases[] = {
        {"OK", "OK", Green},
        {"Error", "Error", Red},
        {"DEGRADED", "Degraded", Red},
        {"unknown", "Unknown", Amber},
        {"Pred Fail", "Predict Fail", Red},
        {"pRED fAIL", "Predict Fail", Red},
        {"starting", "Starting", Green},
        {"Stopping", "Stopping", Amber},
        {"Service", "Service", Green},
        {"Stressed", "Stressed", Red},
        {"NonRecover", "Non Recoverable", Red},
        {"No Contact", "No Contact", Amber},
        {"Lost Comm", "Lost Communication", Amber},
    };
    for (const auto& c : cases) {
        const auto e = StatusLookup(c.status);
        ASSERT_TRUE(e) << c.status;
        EXPECT_EQ(std::string(e->gridText), c.gridText);
        EXPECT_EQ(e->colour, c.colour) << c.status;
    }
    for (const char* other : {"", "okay", "pred  fail", "Lost Communication"})
        EXPECT_FALSE(StatusLookup(other)) << other;
}

TEST(StatusCodes, LastRecognisedLookupDecidesAndEachDriveStartsFromNoState)
{
    const struct {
        const char* availability;
        const char* config;
        const char* status;
        int colour;
    } cases[] = {
        {"3", "0", "OK", Green},     // status wins over the amber of code 0
        {"3", "0", "", Amber},       // config code wins over availability
        {"7", "", "", Red},          // availability alone
        {"7", "99", "bogus", Red},   // unknown codes change nothing
        {"", "", "", None},          // nothing recognised: no state, whatever came before
        {"10", "", "Starting", Green},
        {"1", "31", "Lost Comm", Amber},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecideDriveColour(c.availability, c.config, c.status), c.colour)
            << c.availability << "/" << c.config << "/" << c.status;
}

} // namespace
} // namespace vorlu
