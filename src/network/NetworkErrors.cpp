#include "network/NetworkErrors.h"

#include "network/NetworkTexts.h"

namespace vorlu {

std::string NetworkErrorText(std::uint32_t code)
{
    switch (code) {
    case 5:
        return "Access Denied! (please check your network connections)";
    case 1326:
        // The logon-failure text really starts with a blank.
        return " (please check your network connections)";
    case 1722:
        return "Node not accessible! (please check your network connections)";
    default:
        return "Please check your network connections";
    }
}

void ShowNetworkError(MessageBoxes& boxes, std::uint32_t code)
{
    boxes.beep();
    boxes.show(NetworkErrorText(code), NetworkErrorTitle, MessageIcon::Error);
}

} // namespace vorlu
