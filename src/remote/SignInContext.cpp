#include "remote/SignInContext.h"

#include "remote/KerberosContext.h"
#include "remote/KerberosLogin.h"
#include "remote/NtlmContext.h"
#include "remote/WsManAuthentication.h"

namespace vorlu {

namespace {

// Kerberos first; NTLM only when Kerberos cannot be had. Which one it is
// is known at the first step, when the ticket is asked for.
class KerberosFirst final : public SecurityContext {
public:
    KerberosFirst(std::string login, std::string principal, std::string password, std::string node,
                  std::string kerberosHost, std::string realm)
        : login_(std::move(login)), principal_(std::move(principal)), password_(std::move(password)),
          node_(std::move(node)), kerberosHost_(std::move(kerberosHost)), realm_(std::move(realm))
    {
    }

    std::string scheme() const override { return "Negotiate"; }
    void bindChannel(const std::string& applicationData) override
    {
        binding_ = applicationData;
        if (active_)
            active_->bindChannel(binding_);
    }
    std::string step(const std::string& nodeToken) override
    {
        if (active_)
            return active_->step(nodeToken);
        try {
            if (kerberosHost_.empty())
                kerberosHost_ = kerberosHostName(node_, realm_, systemReverseLookup);
            return start(makeKerberosContext(principal_, password_, kerberosHost_));
        } catch (const KerberosUnavailable& kerberos) {
            if (login_.empty())
                throw;
            kerberosReason_ = kerberos.what();
            try {
                return start(makeNtlmContext(login_, password_, node_));
            } catch (const WmiError& ntlm) {
                throw WmiError(withKerberosReason(ntlm.what()));
            }
        }
    }
    bool established() const override { return active_ && active_->established(); }
    std::string seal(const std::string& plain) override { return session().seal(plain); }
    std::string unseal(const std::string& part) override { return session().unseal(part); }
    std::string refusal(const std::string& login) const override
    {
        return withKerberosReason(active_ ? active_->refusal(login) : passwordRefusal(login));
    }

private:
    // A failure of the NTLM that stood in for Kerberos, with why Kerberos could not be used.
    std::string withKerberosReason(const std::string& text) const
    {
        return kerberosReason_.empty() ? text : text + " (Kerberos could not be used: " + kerberosReason_ + ")";
    }

    std::string start(std::unique_ptr<SecurityContext> context)
    {
        context->bindChannel(binding_);
        std::string token = context->step("");
        active_ = std::move(context);
        return token;
    }
    SecurityContext& session()
    {
        if (!active_)
            throw WmiError("a message cannot be sealed before the sign-in has begun");
        return *active_;
    }

    std::string login_;
    std::string principal_;
    std::string password_;
    std::string node_;
    std::string kerberosHost_;
    std::string realm_;
    std::string binding_;
    std::string kerberosReason_;
    std::unique_ptr<SecurityContext> active_;
};

} // namespace

std::unique_ptr<SecurityContext> makeSignInContext(const std::string& login, const std::string& password,
                                                   const std::string& node, const std::string& kerberosHost)
{
    const std::string realm = defaultKerberosRealm();
    const std::optional<std::string> principal = kerberosPrincipal(login, realm);
    // An empty login without a ticket of the user's is no Kerberos login either: NTLM says what is missing.
    if (!principal || (principal->empty() && !holdsKerberosTicket()))
        return makeNtlmContext(login, password, node);
    // A node's single-label name takes the DNS suffix of the login's own domain.
    const std::size_t at = principal->rfind('@');
    const std::string loginRealm = at == std::string::npos ? realm : principal->substr(at + 1);
    return std::make_unique<KerberosFirst>(login, *principal, password, node, kerberosHost, loginRealm);
}

} // namespace vorlu
