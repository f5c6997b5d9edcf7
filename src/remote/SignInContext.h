#pragma once
#include "remote/SecurityContext.h"

#include <memory>
#include <string>

namespace vorlu {

// The Negotiate session for a login to a node. A domain login (DOMAIN\user,
// user@dns.domain) or an empty one (the ticket the user holds) signs in with
// Kerberos for HTTP/<kerberosHost>; where no ticket can be had at all (no KDC,
// no service principal, no DNS name) a login with a password falls back to
// NTLM, and a failure of both names both reasons. Any other login (a node's
// local account) signs in with NTLM alone. kerberosHost empty: the node's DNS
// name is found from node (see kerberosHostName).
std::unique_ptr<SecurityContext> makeSignInContext(const std::string& login, const std::string& password,
                                                   const std::string& node, const std::string& kerberosHost = {});

} // namespace vorlu
