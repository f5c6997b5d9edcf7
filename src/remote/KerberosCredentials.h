#pragma once
#include <gssapi/gssapi.h>

#include <memory>
#include <string>

namespace vorlu {

// The Kerberos initiator credentials of one login (its ticket-granting ticket
// and the service tickets got with it), in a credential cache in memory that
// belongs to them alone and goes with them.
class KerberosCredential {
public:
    explicit KerberosCredential(gss_cred_id_t handle) : handle_(handle) {}
    ~KerberosCredential();
    KerberosCredential(const KerberosCredential&) = delete;
    KerberosCredential& operator=(const KerberosCredential&) = delete;
    gss_cred_id_t handle() const { return handle_; }

private:
    gss_cred_id_t handle_;
};

// The credentials of principal with this password, kept while the program
// runs so that a sign-in does not ask the KDC for a ticket each time; the same
// login with another password gets new ones. Safe from several threads.
// Throws what throwKerberosFailure says when they cannot be prepared.
std::shared_ptr<KerberosCredential> loginCredential(const std::string& principal, const std::string& password);

// Drops the kept credentials of principal (after a failure with them).
void forgetLoginCredential(const std::string& principal);

} // namespace vorlu
