#pragma once
#include "platform/Management.h"
#include "remote/SecurityContext.h"

#include <gssapi/gssapi.h>

#include <memory>
#include <string>

namespace vorlu {

// No Kerberos ticket can be had for the node at all (no KDC for the realm, no
// service principal for its name, no name for its address): where the node
// offers NTLM, that may sign in instead.
class KerberosUnavailable : public WmiError {
public:
    using WmiError::WmiError;
};

// The Negotiate session with a node as Kerberos, through GSSAPI's krb5
// mechanism, for the service HTTP/hostName. With a principal and a password
// the login's credentials are those loginCredential keeps, never in the
// user's own credential cache; with an empty principal the ticket the user
// already holds is used. Throws WmiError when the credentials cannot
// be prepared.
std::unique_ptr<SecurityContext> makeKerberosContext(const std::string& principal, const std::string& password,
                                                     const std::string& hostName);

// Whether the user holds Kerberos credentials (a default credential cache with
// a principal in it); asks no server.
bool holdsKerberosTicket();

// The default realm of this computer's Kerberos configuration, empty without one.
std::string defaultKerberosRealm();

// Throws what an administrator can act on for a failed Kerberos step, from
// GSSAPI's major status and the krb5 error in the minor one: a
// KerberosUnavailable where no ticket can be had, else a WmiError.
[[noreturn]] void throwKerberosFailure(OM_uint32 major, OM_uint32 minor, const std::string& principal,
                                       const std::string& hostName);
std::string kerberosFailure(OM_uint32 major, OM_uint32 minor, const std::string& principal,
                            const std::string& hostName);

} // namespace vorlu
