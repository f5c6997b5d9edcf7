#pragma once
#include <string>

namespace vorlu {

// Address of the user guide page that ships with the program.
std::string userGuideUrl();

} // namespace vorlu
