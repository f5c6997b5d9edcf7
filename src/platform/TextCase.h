#pragma once
#include <string>
#include <string_view>

namespace vorlu {

// ASCII letter case only: the names compared this way (properties, classes,
// namespaces, host names) are ASCII.
char lowerAscii(char c);
std::string lowerAscii(std::string_view text);
std::string upperAscii(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace vorlu
