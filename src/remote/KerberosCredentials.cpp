#include "remote/KerberosCredentials.h"

#include "platform/Management.h"
#include "remote/GssSupport.h"
#include "remote/KerberosContext.h"

#include <gssapi/gssapi_ext.h>
#include <gssapi/gssapi_krb5.h>

#include <QByteArray>
#include <QCryptographicHash>

#include <map>
#include <mutex>

namespace vorlu {

namespace {


struct Kept {
    QByteArray passwordHash; // which password the credentials were got with; never the password itself
    std::shared_ptr<KerberosCredential> credential;
};

std::mutex keptMutex;
std::map<std::string, Kept>& kept()
{
    static std::map<std::string, Kept> byPrincipal;
    return byPrincipal;
}

QByteArray hashOf(const std::string& principal, const std::string& password)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(principal.data(), static_cast<qsizetype>(principal.size())));
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(QByteArrayView(password.data(), static_cast<qsizetype>(password.size())));
    return hash.result();
}

std::shared_ptr<KerberosCredential> acquire(const std::string& principal, const std::string& password)
{
    OM_uint32 minor = 0;
    gss_name_t user = GSS_C_NO_NAME;
    gss_buffer_desc userBuffer = inputBuffer(principal);
    OM_uint32 major = gss_import_name(&minor, &userBuffer, GSS_KRB5_NT_PRINCIPAL_NAME, &user);
    if (GSS_ERROR(major))
        throw WmiError("the login \"" + principal + "\" is not a Kerberos name: "
                       + gssText(major, minor, krb5Mechanism()));
    // With a password, MIT krb5 keeps the ticket in a cache in memory of this credential's own,
    // destroyed when the credential is released: the user's cache never sees it.
    gss_OID_set_desc mechs{1, krb5Mechanism()};
    gss_buffer_desc secret = inputBuffer(password);
    gss_cred_id_t handle = GSS_C_NO_CREDENTIAL;
    major = gss_acquire_cred_with_password(&minor, user, &secret, GSS_C_INDEFINITE, &mechs, GSS_C_INITIATE, &handle,
                                           nullptr, nullptr);
    OM_uint32 ignored = 0;
    gss_release_name(&ignored, &user);
    if (GSS_ERROR(major))
        throwKerberosFailure(major, minor, principal, "");
    return std::make_shared<KerberosCredential>(handle);
}

} // namespace

KerberosCredential::~KerberosCredential()
{
    OM_uint32 minor = 0;
    gss_release_cred(&minor, &handle_);
}

std::shared_ptr<KerberosCredential> loginCredential(const std::string& principal, const std::string& password)
{
    const QByteArray hash = hashOf(principal, password);
    {
        std::lock_guard lock(keptMutex);
        const auto at = kept().find(principal);
        if (at != kept().end() && at->second.passwordHash == hash)
            return at->second.credential;
    }
    auto credential = acquire(principal, password);
    std::lock_guard lock(keptMutex);
    kept()[principal] = {hash, credential};
    return credential;
}

void forgetLoginCredential(const std::string& principal)
{
    std::lock_guard lock(keptMutex);
    kept().erase(principal);
}

} // namespace vorlu
