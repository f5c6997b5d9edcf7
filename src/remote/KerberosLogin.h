#pragma once
#include <optional>
#include <string>

namespace vorlu {

// The Kerberos principal a login signs in as, with the realm this computer
// belongs to (its default realm, empty when it has none):
//   ""                 -> ""  (the ticket the user already holds)
//   DOMAIN\user        -> user@REALM, where DOMAIN names the default realm
//                         (its first label or the whole of it)
//   dns.domain\user    -> user@DNS.DOMAIN
//   user@dns.domain    -> user@DNS.DOMAIN
// nullopt for a login that is not a domain account (a plain user, HOST\user
// of another name): that one signs in with NTLM only, so that a local
// account's password never goes to the domain's KDC.
std::optional<std::string> kerberosPrincipal(const std::string& login, const std::string& defaultRealm);

// The DNS name of a node for its service principal HTTP/<name>: a dotted name
// as it is, a single-label name with the realm's DNS suffix, an address by
// its reverse lookup (empty when that finds nothing).
std::string kerberosHostName(const std::string& node, const std::string& defaultRealm,
                             std::string (*reverseLookup)(const std::string& address));

// The name of an address from the system's resolver (PTR), empty without one.
std::string systemReverseLookup(const std::string& address);

} // namespace vorlu
