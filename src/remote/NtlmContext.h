#pragma once
#include "remote/SecurityContext.h"

#include <memory>
#include <string>

namespace vorlu {

// The Negotiate session with a node as NTLM, through GSSAPI and its
// gss-ntlmssp mechanism. The user is HOST\user or DOMAIN\user, or a plain
// user (a local account of the node). The node's name or address goes into
// the session as the service the credentials are meant for (HTTP/node), as a
// Windows client does. Throws WmiError when NTLM is not available on this
// computer or the credentials cannot be prepared.
std::unique_ptr<SecurityContext> makeNtlmContext(const std::string& user, const std::string& password,
                                                 const std::string& node);

} // namespace vorlu
