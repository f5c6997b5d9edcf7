#include "remote/DirectoryComputers.h"

#include "platform/Management.h"
#include "platform/TextCase.h"
#include "remote/GssSupport.h"
#include "remote/KerberosContext.h"
#include "remote/KerberosCredentials.h"
#include "remote/KerberosLogin.h"

#include <gssapi/gssapi.h>
#include <gssapi/gssapi_ext.h>
#include <gssapi/gssapi_krb5.h>
#include <krb5.h>
#include <ldap.h>
#include <sasl/sasl.h>

#include <algorithm>
#include <atomic>
#include <arpa/nameser.h>
#include <memory>
#include <netinet/in.h>
#include <resolv.h>

namespace vorlu {

namespace {

constexpr int PageSize = 500;
// Enabled computers: userAccountControl without ACCOUNTDISABLE (2).
constexpr const char* EnabledComputers =
    "(&(objectCategory=computer)(!(userAccountControl:1.2.840.113556.1.4.803:=2)))";

struct LdapDeleter {
    void operator()(LDAP* ld) const { ldap_unbind_ext_s(ld, nullptr, nullptr); }
};
struct MessageDeleter {
    void operator()(LDAPMessage* m) const { ldap_msgfree(m); }
};
using Ldap = std::unique_ptr<LDAP, LdapDeleter>;
using Message = std::unique_ptr<LDAPMessage, MessageDeleter>;

// The server's own words about the last failure, where it gave any.
std::string diagnostic(LDAP* ld)
{
    char* text = nullptr;
    ldap_get_option(ld, LDAP_OPT_DIAGNOSTIC_MESSAGE, &text);
    std::string out = text ? text : "";
    ldap_memfree(text);
    return out;
}

std::string reason(LDAP* ld, int code)
{
    const std::string detail = diagnostic(ld);
    return std::string(ldap_err2string(code)) + (detail.empty() ? "" : " (" + detail + ")");
}

// GSSAPI asks nothing interactively when the credentials are given.
int noInteraction(LDAP*, unsigned, void*, void* prompts)
{
    for (auto* p = static_cast<sasl_interact_t*>(prompts); p && p->id != SASL_CB_LIST_END; ++p) {
        p->result = "";
        p->len = 0;
    }
    return LDAP_SUCCESS;
}

// Initiator credentials for the login, the ticket in memory of their own; null for the user's own ticket.
class LoginCredentials {
public:
    explicit LoginCredentials(const DirectoryQuery& query)
    {
        const std::string realm = upperAscii(query.domain);
        const auto principal = kerberosPrincipal(query.login, realm);
        if (!principal)
            throw WmiError("the directory of " + query.domain + " needs a domain login: enter it as DOMAIN\\user "
                           "or user@" + query.domain);
        if (principal->empty())
            return;
        credential_ = loginCredential(*principal, query.password);
        // SASL takes the thread's default cache: the ticket goes to a cache in memory of this listing's own.
        static std::atomic<unsigned> serial{0};
        cache_ = "MEMORY:vorlu-directory-" + std::to_string(serial.fetch_add(1));
        gss_key_value_element_desc element{"ccache", cache_.c_str()};
        const gss_key_value_set_desc store{1, &element};
        OM_uint32 minor = 0;
        const OM_uint32 major = gss_store_cred_into(&minor, credential_->handle(), GSS_C_INITIATE, GSS_C_NO_OID, 1,
                                                    0, &store, nullptr, nullptr);
        if (GSS_ERROR(major)) {
            const std::string why = gssText(major, minor, GSS_C_NO_OID);
            forgetLoginCredential(*principal);
            release();
            throw WmiError("the Kerberos ticket for the directory cannot be kept: " + why);
        }
    }
    ~LoginCredentials() { release(); }
    LoginCredentials(const LoginCredentials&) = delete;
    LoginCredentials& operator=(const LoginCredentials&) = delete;
    // The cache to use for the bind, empty for the user's own.
    const std::string& cache() const { return cache_; }

private:
    void release()
    {
        if (cache_.empty())
            return;
        krb5_context k = nullptr;
        if (krb5_init_context(&k) != 0)
            return;
        krb5_ccache cache = nullptr;
        if (krb5_cc_resolve(k, cache_.c_str(), &cache) == 0)
            krb5_cc_destroy(k, cache);
        krb5_free_context(k);
    }

    std::shared_ptr<KerberosCredential> credential_;
    std::string cache_;
};

// Points this thread's GSSAPI at a credential cache while it lives, then back
// at the default one (KRB5CCNAME or the system's): the name GSSAPI reports as
// the earlier one is the default's as it was then, which would pin it.
class ThreadCache {
public:
    explicit ThreadCache(const std::string& name)
    {
        OM_uint32 minor = 0;
        active_ = !name.empty() && !GSS_ERROR(gss_krb5_ccache_name(&minor, name.c_str(), nullptr));
    }
    ~ThreadCache()
    {
        OM_uint32 minor = 0;
        if (active_)
            gss_krb5_ccache_name(&minor, nullptr, nullptr);
    }
    ThreadCache(const ThreadCache&) = delete;
    ThreadCache& operator=(const ThreadCache&) = delete;

private:
    bool active_ = false;
};

Ldap connect(const std::string& controller, const DirectoryQuery& query)
{
    LDAP* raw = nullptr;
    const std::string uri = "ldap://" + controller;
    if (ldap_initialize(&raw, uri.c_str()) != LDAP_SUCCESS || raw == nullptr)
        throw WmiError("\"" + controller + "\" is not a usable domain controller name");
    Ldap ld(raw);
    const int version = LDAP_VERSION3;
    ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld.get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    timeval limit{query.timeoutMs / 1000, (query.timeoutMs % 1000) * 1000};
    ldap_set_option(ld.get(), LDAP_OPT_NETWORK_TIMEOUT, &limit);
    ldap_set_option(ld.get(), LDAP_OPT_TIMEOUT, &limit);
    // The service is ldap/<the name given>, not whatever a reverse lookup of its address says.
    ldap_set_option(ld.get(), LDAP_OPT_X_SASL_NOCANON, LDAP_OPT_ON);
    // Signing at least: a domain controller refuses unsigned binds, and a signed one cannot be altered.
    ldap_set_option(ld.get(), LDAP_OPT_X_SASL_SECPROPS, "minssf=1");
    return ld;
}

void bind(LDAP* ld, const std::string& controller, const LoginCredentials& credentials)
{
    const ThreadCache cache(credentials.cache());
    const int code = ldap_sasl_interactive_bind_s(ld, nullptr, "GSSAPI", nullptr, nullptr, LDAP_SASL_QUIET,
                                                  noInteraction, nullptr);
    if (code == LDAP_SUCCESS)
        return;
    if (code == LDAP_SERVER_DOWN || code == LDAP_TIMEOUT || code == LDAP_CONNECT_ERROR)
        throw WmiError("the domain controller " + controller + " does not answer on the LDAP port (389): "
                       + reason(ld, code));
    const std::string detail = diagnostic(ld);
    if (detail.find("Clock skew") != std::string::npos)
        throw WmiError("this computer's clock is too far from the domain's (Kerberos allows 5 minutes): "
                       "synchronise the time with the domain controller");
    if (detail.find("not found in Kerberos database") != std::string::npos)
        throw WmiError("the domain has no service principal ldap/" + controller
                       + ": name the domain controller by its full DNS name");
    throw WmiError("the domain controller " + controller + " refused the directory sign-in: " + reason(ld, code));
}

std::string firstValue(LDAP* ld, LDAPMessage* entry, const char* attribute)
{
    berval** values = ldap_get_values_len(ld, entry, attribute);
    std::string value;
    if (values && values[0])
        value.assign(values[0]->bv_val, values[0]->bv_len);
    ldap_value_free_len(values);
    return value;
}

std::vector<DirectoryComputer> search(LDAP* ld, const std::string& base, const std::string& controller)
{
    std::vector<DirectoryComputer> computers;
    const char* attributes[] = {"name", "dNSHostName", "operatingSystem", nullptr};
    berval cookie{0, nullptr};
    do {
        LDAPControl* page = nullptr;
        if (ldap_create_page_control(ld, PageSize, &cookie, 0, &page) != LDAP_SUCCESS) {
            ber_memfree(cookie.bv_val);
            throw WmiError("the directory search cannot be paged: " + reason(ld, LDAP_NO_MEMORY));
        }
        LDAPControl* controls[] = {page, nullptr};
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, base.c_str(), LDAP_SCOPE_SUBTREE, EnabledComputers,
                                           const_cast<char**>(attributes), 0, controls, nullptr, nullptr,
                                           LDAP_NO_LIMIT, &raw);
        ldap_control_free(page);
        Message result(raw);
        ber_memfree(cookie.bv_val);
        cookie = {0, nullptr};
        if (code != LDAP_SUCCESS)
            throw WmiError("the domain controller " + controller + " refused the search for computers under "
                           + base + ": " + reason(ld, code));
        for (LDAPMessage* e = ldap_first_entry(ld, result.get()); e; e = ldap_next_entry(ld, e))
            computers.push_back({firstValue(ld, e, "name"), firstValue(ld, e, "dNSHostName"),
                                 firstValue(ld, e, "operatingSystem")});
        LDAPControl** returned = nullptr;
        int err = 0;
        ldap_parse_result(ld, result.get(), &err, nullptr, nullptr, nullptr, &returned, 0);
        if (LDAPControl* response = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, returned, nullptr)) {
            ber_int_t estimate = 0;
            ldap_parse_pageresponse_control(ld, response, &estimate, &cookie);
        }
        ldap_controls_free(returned);
    } while (cookie.bv_len > 0);
    ber_memfree(cookie.bv_val);
    return computers;
}

} // namespace

std::string domainBase(const std::string& domain)
{
    std::string base;
    std::size_t start = 0;
    while (start <= domain.size()) {
        const std::size_t dot = domain.find('.', start);
        const std::string label = domain.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!label.empty())
            base += (base.empty() ? "DC=" : ",DC=") + label;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return base;
}

std::vector<std::string> domainControllers(const std::string& domain)
{
    std::vector<std::pair<int, std::string>> found;
    unsigned char answer[4096];
    const std::string name = "_ldap._tcp.dc._msdcs." + domain;
    struct __res_state state {};
    if (res_ninit(&state) != 0)
        return {};
    const int length = res_nquery(&state, name.c_str(), ns_c_in, ns_t_srv, answer, sizeof answer);
    ns_msg message{};
    if (length > 0 && ns_initparse(answer, length, &message) == 0) {
        for (int k = 0; k < ns_msg_count(message, ns_s_an); ++k) {
            ns_rr record{};
            if (ns_parserr(&message, ns_s_an, k, &record) != 0 || ns_rr_type(record) != ns_t_srv)
                continue;
            const unsigned char* data = ns_rr_rdata(record);
            char target[NS_MAXDNAME] = {};
            if (ns_rr_rdlen(record) < 7
                || dn_expand(ns_msg_base(message), ns_msg_end(message), data + 6, target, sizeof target) < 0)
                continue;
            found.emplace_back(ns_get16(data), target);
        }
    }
    res_nclose(&state);
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (auto& f : found)
        names.push_back(std::move(f.second));
    return names;
}

std::vector<std::string> searchDomains()
{
    struct __res_state state {};
    if (res_ninit(&state) != 0)
        return {};
    std::vector<std::string> domains;
    for (const char* d : state.dnsrch) {
        if (d == nullptr)
            break;
        domains.emplace_back(d);
    }
    if (domains.empty() && state.defdname[0] != '\0')
        domains.emplace_back(state.defdname);
    res_nclose(&state);
    return domains;
}

std::string ownDomain(const std::string& defaultRealm, const std::vector<std::string>& searchDomains)
{
    for (std::string domain : searchDomains) {
        while (!domain.empty() && domain.back() == '.')
            domain.pop_back();
        if (!domain.empty() && equalsIgnoringCase(domain, defaultRealm))
            return lowerAscii(domain);
    }
    return {};
}

std::vector<DirectoryComputer> listDomainComputers(const DirectoryQuery& query)
{
    if (query.domain.empty())
        throw WmiError("no domain is set: enter the domain's DNS name on the Remote page of the settings");
    std::vector<std::string> controllers;
    if (!query.controller.empty())
        controllers.push_back(query.controller);
    else
        controllers = domainControllers(query.domain);
    if (controllers.empty())
        throw WmiError("no domain controller of " + query.domain
                       + " is named in DNS (_ldap._tcp.dc._msdcs SRV records): name one on the Remote page of the "
                         "settings");
    const LoginCredentials credentials(query);
    std::string failures;
    for (const std::string& controller : controllers) {
        try {
            Ldap ld = connect(controller, query);
            bind(ld.get(), controller, credentials);
            return search(ld.get(), domainBase(query.domain), controller);
        } catch (const WmiError& e) {
            failures += (failures.empty() ? "" : "; ") + std::string(e.what());
        }
    }
    throw WmiError(failures);
}

} // namespace vorlu
