#pragma once
#include "platform/UserInterfaceServices.h"

#include <cstdint>
#include <string>

namespace vorlu {

// The text for a platform error code of the server enumeration.
std::string NetworkErrorText(std::uint32_t code);

// Beeps and shows that text with the error icon, titled "Network error".
void ShowNetworkError(MessageBoxes& boxes, std::uint32_t code);

} // namespace vorlu
