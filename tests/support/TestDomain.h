#pragma once
// The throwaway Active Directory domain that tests/support/test_domain.py
// made for this test run (a CTest fixture), seen from a test: its realm,
// accounts and service keytabs, and its network namespace, where its KDC and
// LDAP answer on 127.0.0.1.
#include <map>
#include <string>

namespace vorlu::test {

class TestDomain {
public:
    // Reads the domain's description from its folder.
    explicit TestDomain(const std::string& folder);

    // Empty when the domain is there, else why not (for GTEST_SKIP).
    const std::string& unavailableReason() const { return unavailable_; }

    // Moves the calling thread into the domain's namespace and points
    // Kerberos at the domain (KRB5_CONFIG); false, with the reason, when that fails.
    bool enter(std::string* error) const;

    std::string value(const std::string& key) const;
    std::string realm() const { return value("REALM"); }
    std::string netbiosName() const { return value("DOMAIN"); }
    std::string dnsDomain() const { return value("DNS_DOMAIN"); }
    std::string admin() const { return value("ADMIN"); }
    std::string adminPassword() const { return value("ADMIN_PASSWORD"); }
    // The DNS name of a test node (SRV-ARCHIVE -> srv-archive.<domain>).
    std::string hostName(const std::string& node) const;
    // The keytab of HTTP/<hostName(node)>.
    std::string keytab(const std::string& node) const;

private:
    std::map<std::string, std::string> values_;
    std::string unavailable_;
};

// The domain of this test run (VORLU_TEST_DOMAIN).
const TestDomain& testDomain();

} // namespace vorlu::test
