#include "remote/NtlmContext.h"

#include "platform/Management.h"
#include "remote/GssSupport.h"
#include "remote/WsManAuthentication.h"

#include <gssapi/gssapi.h>
#include <gssapi/gssapi_ext.h>

#include <cstdint>

namespace vorlu {

namespace {

// 1.3.6.1.4.1.311.2.2.10, the NTLM security provider.
char ntlmOidBytes[] = "\x2b\x06\x01\x04\x01\x82\x37\x02\x02\x0a";
gss_OID_desc ntlmOid{10, ntlmOidBytes};

// An NTLM signature is 16 bytes whatever is sealed; gss_wrap puts it first.
constexpr std::uint32_t NtlmSignatureLength = 16;

std::string gssText(OM_uint32 major, OM_uint32 minor)
{
    return vorlu::gssText(major, minor, &ntlmOid);
}

bool ntlmAvailable()
{
    OM_uint32 minor = 0;
    gss_OID_set mechs = nullptr;
    if (GSS_ERROR(gss_indicate_mechs(&minor, &mechs)))
        return false;
    int present = 0;
    gss_test_oid_set_member(&minor, &ntlmOid, mechs, &present);
    gss_release_oid_set(&minor, &mechs);
    return present != 0;
}

gss_name_t importName(const std::string& text, gss_OID type, const char* what)
{
    OM_uint32 minor = 0;
    gss_name_t name = nullptr;
    gss_buffer_desc buffer = inputBuffer(text);
    const OM_uint32 major = gss_import_name(&minor, &buffer, type, &name);
    if (GSS_ERROR(major))
        throw WmiError(std::string("the ") + what + " \"" + text + "\" is not usable for NTLM: " + gssText(major, minor));
    return name;
}

class GssNtlmContext final : public SecurityContext {
public:
    GssNtlmContext(const std::string& user, const std::string& password, const std::string& node);
    ~GssNtlmContext() override;
    GssNtlmContext(const GssNtlmContext&) = delete;
    GssNtlmContext& operator=(const GssNtlmContext&) = delete;

    std::string scheme() const override { return "Negotiate"; }
    std::string step(const std::string& nodeToken) override;
    bool established() const override { return established_; }
    std::string seal(const std::string& plain) override;
    std::string unseal(const std::string& part) override;
    void bindChannel(const std::string& applicationData) override { binding_ = applicationData; }
    std::string refusal(const std::string& login) const override;

private:
    std::string binding_;
    gss_cred_id_t cred_ = nullptr;
    gss_name_t target_ = nullptr;
    gss_ctx_id_t ctx_ = nullptr;
    bool started_ = false;
    bool established_ = false;
};

GssNtlmContext::GssNtlmContext(const std::string& user, const std::string& password, const std::string& node)
{
    if (!ntlmAvailable())
        throw WmiError("NTLM is not available on this computer: install the gss-ntlmssp package "
                       "(the NTLM mechanism of GSSAPI)");
    if (user.empty() || user.back() == '\\')
        throw WmiError("NTLM needs the node's account: enter the user as HOST\\user or DOMAIN\\user "
                       "(an empty login uses your Kerberos ticket, once you hold one: kinit)");

    OM_uint32 minor = 0;
    gss_name_t userName = importName(user, GSS_C_NT_USER_NAME, "user name");
    gss_OID_set_desc mechs{1, &ntlmOid};
    gss_buffer_desc secret = inputBuffer(password);
    const OM_uint32 major = gss_acquire_cred_with_password(&minor, userName, &secret, GSS_C_INDEFINITE, &mechs,
                                                           GSS_C_INITIATE, &cred_, nullptr, nullptr);
    gss_release_name(&minor, &userName);
    if (GSS_ERROR(major))
        throw WmiError("the NTLM credentials of " + user + " cannot be prepared: " + gssText(major, minor));
    try {
        target_ = importName("HTTP@" + node, GSS_C_NT_HOSTBASED_SERVICE, "node name");
    } catch (...) {
        gss_release_cred(&minor, &cred_);
        throw;
    }
}

GssNtlmContext::~GssNtlmContext()
{
    OM_uint32 minor = 0;
    if (ctx_ != nullptr)
        gss_delete_sec_context(&minor, &ctx_, nullptr);
    gss_release_name(&minor, &target_);
    gss_release_cred(&minor, &cred_);
}

std::string GssNtlmContext::step(const std::string& nodeToken)
{
    if (established_)
        return {};
    if (started_ && nodeToken.empty())
        throw WmiError("the node ended the NTLM sign-in without a challenge: it may not accept NTLM");
    OM_uint32 minor = 0;
    gss_buffer_desc input = inputBuffer(nodeToken);
    GssBuffer output;
    const OM_uint32 flags = GSS_C_CONF_FLAG | GSS_C_INTEG_FLAG | GSS_C_SEQUENCE_FLAG | GSS_C_REPLAY_FLAG;
    gss_channel_bindings_struct bindings{};
    bindings.application_data = inputBuffer(binding_);
    const OM_uint32 major = gss_init_sec_context(&minor, cred_, &ctx_, target_, &ntlmOid, flags, 0,
                                                 binding_.empty() ? GSS_C_NO_CHANNEL_BINDINGS : &bindings,
                                                 started_ ? &input : nullptr, nullptr, &output.desc, nullptr,
                                                 nullptr);
    started_ = true;
    if (GSS_ERROR(major)) {
        established_ = false;
        throw WmiError("NTLM sign-in with the node failed: " + gssText(major, minor));
    }
    established_ = (major & GSS_S_CONTINUE_NEEDED) == 0;
    return output.text();
}

std::string GssNtlmContext::seal(const std::string& plain)
{
    if (!established_)
        throw WmiError("a message cannot be sealed before the NTLM sign-in is complete");
    OM_uint32 minor = 0;
    int sealed = 0;
    gss_buffer_desc input = inputBuffer(plain);
    GssBuffer output;
    const OM_uint32 major = gss_wrap(&minor, ctx_, 1, GSS_C_QOP_DEFAULT, &input, &sealed, &output.desc);
    if (GSS_ERROR(major))
        throw WmiError("the message cannot be sealed with the NTLM session: " + gssText(major, minor));
    if (sealed == 0 || output.desc.length != plain.size() + NtlmSignatureLength)
        throw WmiError("the NTLM session did not seal the message: the node may not have agreed to encryption");
    return littleEndian32(NtlmSignatureLength) + output.text();
}

std::string GssNtlmContext::unseal(const std::string& part)
{
    if (!established_)
        throw WmiError("a sealed reply arrived before the NTLM sign-in was complete");
    if (part.size() < 4 + NtlmSignatureLength)
        throw WmiError("the node's sealed reply is cut short");
    const std::uint32_t signatureLength = readLittleEndian32(part);
    if (signatureLength != NtlmSignatureLength)
        throw WmiError("the node's sealed reply has a signature of " + std::to_string(signatureLength)
                       + " bytes where NTLM uses 16");
    OM_uint32 minor = 0;
    int sealed = 0;
    const std::string wrapped = part.substr(4);
    gss_buffer_desc input = inputBuffer(wrapped);
    GssBuffer output;
    const OM_uint32 major = gss_unwrap(&minor, ctx_, &input, &output.desc, &sealed, nullptr);
    if (GSS_ERROR(major))
        throw WmiError("the node's sealed reply does not verify with the NTLM session (altered or out of order): "
                       + gssText(major, minor));
    if (sealed == 0)
        throw WmiError("the node's reply is signed but not sealed");
    return output.text();
}

std::string GssNtlmContext::refusal(const std::string& login) const
{
    return passwordRefusal(login);
}

} // namespace

std::unique_ptr<SecurityContext> makeNtlmContext(const std::string& user, const std::string& password,
                                                 const std::string& node)
{
    return std::make_unique<GssNtlmContext>(user, password, node);
}

} // namespace vorlu
