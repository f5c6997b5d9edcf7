#pragma once
#include "platform/Management.h"

#include <string>
#include <vector>

namespace vorlu {

// The eight status properties of a drive, in the order of the diagnostics file.
inline constexpr const char* DiagnosticsProperties[8] = {
    "Availability", "ConfigManagerErrorCode", "ErrorCleared", "ErrorDescription",
    "LastErrorCode", "Status", "StatusInfo", "MediaLoaded"};

// The content of "sen_cd": the row count, eight lines per row, the final
// empty line. A property with no value is an empty line; line breaks inside
// values are dropped.
std::string formatDiagnostics(const std::vector<WmiRow>& rows);

} // namespace vorlu
