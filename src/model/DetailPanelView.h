#pragma once
// What the fault search shows: the main window's detail panel, reached
// through this view so that the search runs without widgets.
#include <cstdint>
#include <string>

namespace vorlu {

// The seven value labels of the panel, in the order the search fills them.
enum class DetailValue {
    Status,             // lblstatusmsg, "Last Message:"
    Availability,       // Label16, "Availability:"
    ErrorCleared,       // Label9, "Error Cleared:"
    LastErrorCode,      // Label13, "Last Error Code:"
    StatusInfo,         // Label15, "Status Info:"
    ErrorDescription,   // Label11, "Error Description:"
    ConfigManagerError, // lblavailmsg, never shown
};

// How a drive's state looks in the panel.
struct StatePresentation {
    std::uint32_t headingRgb; // background of the heading, 0x00RRGGBB
    int dial;                 // 1 OK, 2 Warning, 3 Error: the picture holder copied into the dial; 4 unknown
    const char* word;
};

// The presentation of a StatusColour code; any other value (codes that
// matched no row) is shown as unknown: grey, a neutral dial, "Unknown".
const StatePresentation* StatePresentationFor(int colour);

class DetailPanelView {
public:
    virtual ~DetailPanelView() = default;
    virtual void setValue(DetailValue which, const std::string& text) = 0;
    virtual void setHeading(const std::string& text) = 0; // Label5
    virtual void clearDriveId() = 0;                      // lbldriveid of the command bar
    virtual void showState(const StatePresentation& state) = 0;
};

} // namespace vorlu
