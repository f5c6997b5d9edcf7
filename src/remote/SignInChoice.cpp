#include "remote/SignInChoice.h"

#include "platform/Management.h"
#include "platform/TextCase.h"

#include <algorithm>

namespace vorlu {

namespace {

const char* schemeOf(SignInMethod method)
{
    return method == SignInMethod::Basic ? "Basic" : "Negotiate";
}

} // namespace

AuthScheme chooseSchemeFor(SignInMethod method, const std::vector<std::string>& offered, bool https,
                           bool allowClearTextBasic)
{
    if (method == SignInMethod::Automatic)
        return chooseScheme(offered, https, allowClearTextBasic);
    if (method == SignInMethod::Kerberos) {
        // Kerberos rides under either name; Negotiate first, as the node prefers it.
        for (const char* name : {"Negotiate", "Kerberos"})
            if (std::any_of(offered.begin(), offered.end(),
                            [name](const std::string& s) { return equalsIgnoringCase(s, name); }))
                return std::string(name) == "Negotiate" ? AuthScheme::Negotiate : AuthScheme::Kerberos;
        throw WmiError("401: the node offers no Kerberos sign-in (neither Negotiate nor Kerberos), which this "
                       "node's connection asks for");
    }
    const std::string wanted = schemeOf(method);
    const bool offers = std::any_of(offered.begin(), offered.end(),
                                    [&wanted](const std::string& s) { return equalsIgnoringCase(s, wanted); });
    if (!offers) {
        std::string listed;
        for (const std::string& s : offered)
            listed += (listed.empty() ? "" : ", ") + s;
        throw WmiError("401: the node offers " + (listed.empty() ? std::string("no scheme") : listed) + ", not " +
                       wanted + ", which this node's connection asks for");
    }
    // The choice among what is offered, narrowed to the one asked for: Basic keeps its clear-text rule.
    return chooseScheme({wanted}, https, allowClearTextBasic);
}

} // namespace vorlu
