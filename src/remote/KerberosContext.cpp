#include "remote/KerberosContext.h"

#include "platform/Management.h"
#include "remote/GssSupport.h"
#include "remote/KerberosCredentials.h"

#include <gssapi/gssapi_ext.h>
#include <gssapi/gssapi_krb5.h>
#include <krb5.h>

namespace vorlu {

namespace {

std::string realmOf(const std::string& principal)
{
    const std::size_t at = principal.rfind('@');
    return at == std::string::npos ? defaultKerberosRealm() : principal.substr(at + 1);
}

std::string who(const std::string& principal)
{
    return principal.empty() ? std::string("the ticket you hold") : principal;
}

class GssKerberosContext final : public SecurityContext {
public:
    GssKerberosContext(const std::string& principal, const std::string& password, const std::string& hostName);
    ~GssKerberosContext() override;
    GssKerberosContext(const GssKerberosContext&) = delete;
    GssKerberosContext& operator=(const GssKerberosContext&) = delete;

    std::string scheme() const override { return "Negotiate"; }
    void bindChannel(const std::string& applicationData) override { binding_ = applicationData; }
    std::string step(const std::string& nodeToken) override;
    bool established() const override { return established_; }
    std::string seal(const std::string& plain) override;
    std::string unseal(const std::string& part) override;
    std::string refusal(const std::string& login) const override;

private:
    std::string principal_;
    std::string hostName_;
    std::string binding_;
    std::shared_ptr<KerberosCredential> credential_; // null: the user's own ticket
    gss_name_t target_ = GSS_C_NO_NAME;
    gss_ctx_id_t ctx_ = GSS_C_NO_CONTEXT;
    bool started_ = false;
    bool established_ = false;
};

GssKerberosContext::GssKerberosContext(const std::string& principal, const std::string& password,
                                       const std::string& hostName)
    : principal_(principal), hostName_(hostName)
{
    if (hostName.empty())
        throw KerberosUnavailable("no DNS name is known for the node, and a Kerberos ticket is issued for a name, "
                                  "not an address: enter the node by its DNS name (node.domain)");
    OM_uint32 minor = 0;
    const std::string service = "HTTP@" + hostName;
    gss_buffer_desc serviceBuffer = inputBuffer(service);
    OM_uint32 major = gss_import_name(&minor, &serviceBuffer, GSS_C_NT_HOSTBASED_SERVICE, &target_);
    if (GSS_ERROR(major))
        throw WmiError("the node name \"" + hostName + "\" is not usable for Kerberos: "
                       + gssText(major, minor, krb5Mechanism()));
    if (principal.empty())
        return;

    try {
        credential_ = loginCredential(principal, password);
    } catch (...) {
        gss_release_name(&minor, &target_);
        throw;
    }
}

GssKerberosContext::~GssKerberosContext()
{
    OM_uint32 minor = 0;
    if (ctx_ != GSS_C_NO_CONTEXT)
        gss_delete_sec_context(&minor, &ctx_, nullptr);
    gss_release_name(&minor, &target_);
}

std::string GssKerberosContext::step(const std::string& nodeToken)
{
    if (established_)
        return {};
    if (started_ && nodeToken.empty())
        throw WmiError("the node ended the Kerberos sign-in without its answer");
    OM_uint32 minor = 0;
    gss_buffer_desc input = inputBuffer(nodeToken);
    GssBuffer output;
    gss_channel_bindings_struct bindings{};
    bindings.application_data = inputBuffer(binding_);
    const OM_uint32 flags =
        GSS_C_MUTUAL_FLAG | GSS_C_CONF_FLAG | GSS_C_INTEG_FLAG | GSS_C_SEQUENCE_FLAG | GSS_C_REPLAY_FLAG;
    const gss_cred_id_t cred = credential_ ? credential_->handle() : GSS_C_NO_CREDENTIAL;
    const OM_uint32 major = gss_init_sec_context(&minor, cred, &ctx_, target_, krb5Mechanism(), flags, 0,
                                                 binding_.empty() ? GSS_C_NO_CHANNEL_BINDINGS : &bindings,
                                                 started_ ? &input : GSS_C_NO_BUFFER, nullptr, &output.desc,
                                                 nullptr, nullptr);
    started_ = true;
    if (GSS_ERROR(major)) {
        // The kept ticket may be what failed (expired, or its password changed): the next sign-in gets a new one.
        if (credential_)
            forgetLoginCredential(principal_);
        throwKerberosFailure(major, minor, principal_, hostName_);
    }
    established_ = (major & GSS_S_CONTINUE_NEEDED) == 0;
    return output.text();
}

std::string GssKerberosContext::seal(const std::string& plain)
{
    if (!established_)
        throw WmiError("a message cannot be sealed before the Kerberos sign-in is complete");
    // A node takes the wrap's header as the signature, then the sealed data and its padding.
    std::string data = plain;
    gss_iov_buffer_desc iov[3] = {};
    iov[0].type = GSS_IOV_BUFFER_TYPE_HEADER | GSS_IOV_BUFFER_FLAG_ALLOCATE;
    iov[1].type = GSS_IOV_BUFFER_TYPE_DATA;
    iov[1].buffer = inputBuffer(data);
    iov[2].type = GSS_IOV_BUFFER_TYPE_PADDING | GSS_IOV_BUFFER_FLAG_ALLOCATE;
    OM_uint32 minor = 0;
    int sealed = 0;
    const OM_uint32 major = gss_wrap_iov(&minor, ctx_, 1, GSS_C_QOP_DEFAULT, &sealed, iov, 3);
    std::string part;
    if (!GSS_ERROR(major) && sealed != 0) {
        const std::string header(static_cast<const char*>(iov[0].buffer.value), iov[0].buffer.length);
        part = littleEndian32(static_cast<std::uint32_t>(header.size())) + header + data
            + std::string(static_cast<const char*>(iov[2].buffer.value), iov[2].buffer.length);
    }
    gss_release_iov_buffer(&minor, iov, 3);
    if (GSS_ERROR(major))
        throw WmiError("the message cannot be sealed with the Kerberos session: "
                       + gssText(major, minor, krb5Mechanism()));
    if (part.empty())
        throw WmiError("the Kerberos session did not seal the message: the node may not have agreed to encryption");
    return part;
}

std::string GssKerberosContext::unseal(const std::string& part)
{
    if (!established_)
        throw WmiError("a sealed reply arrived before the Kerberos sign-in was complete");
    if (part.size() < 4)
        throw WmiError("the node's sealed reply is cut short");
    const std::uint32_t headerLength = readLittleEndian32(part);
    if (headerLength == 0 || headerLength > part.size() - 4)
        throw WmiError("the node's sealed reply declares a signature of " + std::to_string(headerLength)
                       + " bytes, which it does not hold");
    // Header and data together are the wrap token; GSSAPI undoes the rotation a node applies.
    const std::string token = part.substr(4);
    gss_buffer_desc input = inputBuffer(token);
    GssBuffer output;
    OM_uint32 minor = 0;
    int sealed = 0;
    const OM_uint32 major = gss_unwrap(&minor, ctx_, &input, &output.desc, &sealed, nullptr);
    if (GSS_ERROR(major))
        throw WmiError("the node's sealed reply does not verify with the Kerberos session (altered or out of "
                       "order): " + gssText(major, minor, krb5Mechanism()));
    if (sealed == 0)
        throw WmiError("the node's reply is signed but not sealed");
    return output.text();
}

std::string GssKerberosContext::refusal(const std::string& login) const
{
    return "401: the node refused the Kerberos ticket of " + who(login.empty() ? principal_ : login)
        + " for HTTP/" + hostName_
        + ": the service principal may belong to another computer (a stale keytab or a duplicate SPN), "
          "or the account may not be allowed to manage the node";
}

} // namespace

std::unique_ptr<SecurityContext> makeKerberosContext(const std::string& principal, const std::string& password,
                                                     const std::string& hostName)
{
    return std::make_unique<GssKerberosContext>(principal, password, hostName);
}

bool holdsKerberosTicket()
{
    krb5_context k = nullptr;
    if (krb5_init_context(&k) != 0)
        return false;
    krb5_ccache cache = nullptr;
    krb5_principal principal = nullptr;
    const bool holds = krb5_cc_default(k, &cache) == 0 && krb5_cc_get_principal(k, cache, &principal) == 0;
    if (principal)
        krb5_free_principal(k, principal);
    if (cache)
        krb5_cc_close(k, cache);
    krb5_free_context(k);
    return holds;
}

std::string defaultKerberosRealm()
{
    krb5_context k = nullptr;
    if (krb5_init_context(&k) != 0)
        return {};
    char* realm = nullptr;
    std::string result;
    if (krb5_get_default_realm(k, &realm) == 0 && realm != nullptr) {
        result = realm;
        krb5_free_default_realm(k, realm);
    }
    krb5_free_context(k);
    return result;
}

void throwKerberosFailure(OM_uint32 major, OM_uint32 minor, const std::string& principal,
                          const std::string& hostName)
{
    switch (static_cast<krb5_error_code>(minor)) {
    case KRB5_KDC_UNREACH:
    case KRB5_REALM_CANT_RESOLVE:
    case KRB5_REALM_UNKNOWN:
    case KRB5KDC_ERR_S_PRINCIPAL_UNKNOWN:
        throw KerberosUnavailable(kerberosFailure(major, minor, principal, hostName));
    default: throw WmiError(kerberosFailure(major, minor, principal, hostName));
    }
}

std::string kerberosFailure(OM_uint32 major, OM_uint32 minor, const std::string& principal,
                            const std::string& hostName)
{
    const std::string realm = realmOf(principal);
    const std::string spn = "HTTP/" + hostName;
    switch (static_cast<krb5_error_code>(minor)) {
    case KRB5_KDC_UNREACH:
    case KRB5_REALM_CANT_RESOLVE:
    case KRB5_REALM_UNKNOWN:
        return "no Kerberos KDC answers for the realm " + realm
            + ": check that a domain controller is reachable on port 88 and found through DNS "
              "(_kerberos._tcp SRV records) or krb5.conf";
    case KRB5KRB_AP_ERR_SKEW:
        return "this computer's clock is too far from the domain's (Kerberos allows 5 minutes): "
               "synchronise the time with the domain controller";
    case KRB5KDC_ERR_S_PRINCIPAL_UNKNOWN:
        return "the domain has no service principal " + spn
            + ": use the node's full DNS name as the domain knows it (name." + (realm.empty() ? "domain" : realm)
            + "), or register the name with setspn -S " + spn + " <computer>";
    case KRB5KDC_ERR_C_PRINCIPAL_UNKNOWN:
        return "the domain does not know the user " + who(principal)
            + ": enter the login as DOMAIN\\user or user@dns.domain";
    case KRB5KDC_ERR_PREAUTH_FAILED:
    case KRB5KRB_AP_ERR_BAD_INTEGRITY:
        return "the domain refused the password of " + who(principal);
    case KRB5KDC_ERR_KEY_EXP:
        return "the password of " + who(principal) + " has expired: change it, then sign in again";
    case KRB5KDC_ERR_CLIENT_REVOKED:
        return "the account " + who(principal) + " is disabled or locked out in the domain";
    case KRB5_FCC_NOFILE:
    case KRB5_CC_NOTFOUND:
        return "you hold no Kerberos ticket: sign in to the domain (kinit) or enter a login and a password";
    case KRB5KRB_AP_ERR_TKT_EXPIRED:
        return "your Kerberos ticket has expired: renew it (kinit) or enter a login and a password";
    case KRB5KRB_AP_ERR_MODIFIED:
        return "the node could not read its Kerberos ticket: the key of " + spn
            + " differs from the domain's (a stale keytab, or the name belongs to another computer)";
    case KRB5KRB_AP_ERR_BADMATCH:
    case KRB5KRB_AP_ERR_INAPP_CKSUM:
        return "the channel binding of the Kerberos sign-in was refused";
    default: break;
    }
    return "Kerberos sign-in to " + spn + " failed: " + gssText(major, minor, krb5Mechanism());
}

} // namespace vorlu
