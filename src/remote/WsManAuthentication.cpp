#include "remote/WsManAuthentication.h"

#include "platform/Management.h"
#include "platform/TextCase.h"

#include <algorithm>

namespace vorlu {

namespace {

std::string listed(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t k = 0; k < names.size(); ++k)
        out += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
    return out;
}

} // namespace

AuthScheme chooseScheme(const std::vector<std::string>& offered, bool https, bool allowClearTextBasic)
{
    std::vector<std::string> names;
    for (const std::string& s : offered)
        if (std::none_of(names.begin(), names.end(), [&s](const std::string& n) { return equalsIgnoringCase(n, s); }))
            names.push_back(s);
    auto offers = [&names](const char* scheme) {
        return std::any_of(names.begin(), names.end(),
                           [scheme](const std::string& n) { return equalsIgnoringCase(n, scheme); });
    };
    if (offers("Negotiate"))
        return AuthScheme::Negotiate;
    if (offers("Basic")) {
        if (https || allowClearTextBasic)
            return AuthScheme::Basic;
        throw WmiError("401: the node offers only " + listed(names) +
                       "; Basic over plain HTTP would send the password in clear: use HTTPS, or allow clear-text "
                       "Basic for this connection");
    }
    if (names.empty())
        throw WmiError("401: the node offers no authentication scheme");
    throw WmiError("401: the node offers only " + listed(names) +
                   ": enable Negotiate on the node (or Basic, over HTTPS)");
}

} // namespace vorlu
