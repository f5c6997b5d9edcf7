#pragma once
#include <string>
#include <vector>

namespace vorlu {

// One enabled computer object of the domain.
struct DirectoryComputer {
    std::string name;            // its name (the NetBIOS-style computer name)
    std::string dnsHostName;     // dNSHostName, empty where the object has none
    std::string operatingSystem; // operatingSystem, empty where the object has none
};

struct DirectoryQuery {
    std::string domain;     // the domain's DNS name (corp.example.com)
    std::string controller; // a domain controller's DNS name; empty: found by DNS SRV
    std::string login;      // DOMAIN\user, user@dns.domain, or empty for the user's own ticket
    std::string password;
    int timeoutMs = 10000;
};

// The enabled computer objects of the domain, asked of a domain controller
// over LDAP signed in through SASL GSSAPI (Kerberos) with signing, page by
// page. Throws WmiError in words an administrator can act on; never with the
// password.
std::vector<DirectoryComputer> listDomainComputers(const DirectoryQuery& query);

// The domain controllers the domain names in DNS (_ldap._tcp.dc._msdcs.<domain>
// SRV records), by priority; empty when DNS names none.
std::vector<std::string> domainControllers(const std::string& domain);

// The DNS search domains of this computer's resolver configuration, asked of no server.
std::vector<std::string> searchDomains();

// The domain this computer belongs to: its Kerberos realm where that is also
// one of its DNS search domains, else empty. The realm alone is no proof: a
// machine with Kerberos installed but joined to nothing has the example
// realm of its krb5.conf.
std::string ownDomain(const std::string& defaultRealm, const std::vector<std::string>& searchDomains);

// The LDAP base of a domain: corp.example.com -> DC=corp,DC=example,DC=com.
std::string domainBase(const std::string& domain);

} // namespace vorlu
