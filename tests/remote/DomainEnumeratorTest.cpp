// The Network Scan's list on a domain network: WS-Discovery's computers, then
// the directory's, each once; the directory's DNS names resolved for the scan;
// a directory that cannot be read leaves WS-Discovery's list as it is; which
// domain is this computer's own.
#include "platform/Management.h"
#include "remote/DomainEnumerator.h"
#include "support/FixedResolver.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

class FixedDiscovery : public ServerEnumerator {
public:
    explicit FixedDiscovery(EnumerationAnswer answer) : answer_(std::move(answer)) {}
    EnumerationAnswer enumerateServers(std::uint32_t) override { return answer_; }

private:
    EnumerationAnswer answer_;
};

struct Scan {
    std::shared_ptr<AnnouncedAddresses> announced = std::make_shared<AnnouncedAddresses>();
    std::shared_ptr<KerberosNames> names = std::make_shared<KerberosNames>();
    std::optional<DirectoryQuery> query = DirectoryQuery{"corp.example.com", "", "", "", 1000};
    int asked = 0;

    DomainEnumerator enumerator(EnumerationAnswer discovered, DomainEnumerator::DirectoryLister lister)
    {
        return DomainEnumerator(std::make_unique<FixedDiscovery>(std::move(discovered)),
                                [this] { return query; },
                                std::make_unique<test::FixedResolver>(std::map<std::string, std::vector<std::uint8_t>>{
                                    {"srv-archive.corp.example.com", {10, 0, 0, 5}},
                                    {"pc-007.corp.example.com", {10, 0, 0, 7}}}),
                                announced, names, {},
                                [this, lister](const DirectoryQuery& q) {
                                    ++asked;
                                    return lister(q);
                                });
    }
};

std::vector<DirectoryComputer> directory(const DirectoryQuery&)
{
    return {{"SRV-ARCHIVE", "srv-archive.corp.example.com", "Windows Server 2022 Standard"},
            {"PC-007", "pc-007.corp.example.com", "Windows 11 Pro"},
            {"", "ws-lab-07.corp.example.com", ""},
            {"ws-print", "", ""}};
}

TEST(DomainEnumerator, ListsTheDirectorysComputersAfterWsDiscoverysEachOnce)
{
    Scan scan;
    auto enumerator = scan.enumerator({0, {"WS-PRINT", "srv-archive"}}, directory);
    const EnumerationAnswer answer = enumerator.enumerateServers(ServerEnumerator::kAllServerTypes);
    EXPECT_EQ(answer.code, 0u);
    EXPECT_EQ(answer.names, (std::vector<std::string>{"WS-PRINT", "srv-archive", "PC-007", "ws-lab-07"}));
    // The DNS names resolve for the scan, under the names listed.
    EXPECT_EQ(scan.announced->find("PC-007"), (Ipv4Bytes{10, 0, 0, 7}));
    EXPECT_EQ(scan.announced->find("srv-archive"), (Ipv4Bytes{10, 0, 0, 5}));
    EXPECT_FALSE(scan.announced->find("ws-lab-07"));
    // A node reached by its address signs in to its DNS name's service.
    EXPECT_EQ(scan.names->find("10.0.0.7"), "pc-007.corp.example.com");
    EXPECT_EQ(scan.names->find("10.0.0.9"), "");
    EXPECT_TRUE(enumerator.lastDirectoryFailure().empty());
}

TEST(DomainEnumerator, WithoutADomainOrWithAFailingDirectoryWsDiscoveryStandsAlone)
{
    Scan scan;
    scan.query.reset();
    auto quiet = scan.enumerator({0, {"WS-PRINT"}}, directory);
    EXPECT_EQ(quiet.enumerateServers(0).names, std::vector<std::string>{"WS-PRINT"});
    EXPECT_EQ(scan.asked, 0);

    scan.query = DirectoryQuery{"corp.example.com", "", "", "", 1000};
    auto failing = scan.enumerator({0, {"WS-PRINT"}}, [](const DirectoryQuery&) -> std::vector<DirectoryComputer> {
        throw WmiError("the domain controller dc1 refused the directory sign-in");
    });
    EXPECT_EQ(failing.enumerateServers(0).names, std::vector<std::string>{"WS-PRINT"});
    EXPECT_NE(failing.lastDirectoryFailure().find("refused the directory sign-in"), std::string::npos);

    // A scan that found no network at all is left as it is.
    auto offline = scan.enumerator({1231, {}}, directory);
    EXPECT_EQ(offline.enumerateServers(0).code, 1231u);
}

TEST(OwnDomain, IsTheRealmOnlyWhereTheResolverSearchesItToo)
{
    EXPECT_EQ(ownDomain("CORP.EXAMPLE.COM", {"lab.example.com", "corp.example.com."}), "corp.example.com");
    // Kerberos installed on a machine joined to nothing: the realm of the example krb5.conf.
    EXPECT_EQ(ownDomain("ATHENA.MIT.EDU", {"office.lan"}), "");
    EXPECT_EQ(ownDomain("", {"office.lan"}), "");
    EXPECT_EQ(ownDomain("CORP.EXAMPLE.COM", {}), "");
}

TEST(DomainBase, ComesFromTheDnsName)
{
    EXPECT_EQ(domainBase("corp.example.com"), "DC=corp,DC=example,DC=com");
    EXPECT_EQ(domainBase("vorlu.test."), "DC=vorlu,DC=test");
}

} // namespace
} // namespace vorlu
