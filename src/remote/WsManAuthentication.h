#pragma once
#include <string>
#include <vector>

namespace vorlu {

enum class AuthScheme { None, Negotiate, Kerberos, Basic };

// The scheme to sign in with, from the schemes a node's 401 offers.
// Negotiate first, then Kerberos alone (a node with Negotiate turned off):
// neither sends the password. Basic only over HTTPS, or
// over plain HTTP when the user allowed credentials in clear. Throws WmiError
// naming what the node offers when nothing fits.
AuthScheme chooseScheme(const std::vector<std::string>& offered, bool https, bool allowClearTextBasic);

// The 401 of a refused user name and password, with what to check.
std::string passwordRefusal(const std::string& login);

} // namespace vorlu
