#pragma once
#include <string>
#include <vector>

namespace vorlu {

enum class AuthScheme { None, Negotiate, Basic };

// The scheme to sign in with, from the schemes a node's 401 offers.
// Negotiate first: it never sends the password. Basic only over HTTPS, or
// over plain HTTP when the user allowed credentials in clear. Throws WmiError
// naming what the node offers when nothing fits.
AuthScheme chooseScheme(const std::vector<std::string>& offered, bool https, bool allowClearTextBasic);

} // namespace vorlu
