// The domain's computers listed from the test domain's LDAP, signed in
// through SASL GSSAPI with signing: enabled ones only, each with its DNS name
// and operating system, and the refusals in words an administrator can act on.
#include "platform/Management.h"
#include "remote/DirectoryComputers.h"
#include "support/TestDomain.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

namespace vorlu {
namespace {

using test::testDomain;

class DirectoryComputers : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        if (!testDomain().enter(&why))
            GTEST_SKIP() << why;
    }
    static DirectoryQuery query()
    {
        const auto& domain = testDomain();
        DirectoryQuery q;
        q.domain = domain.dnsDomain();
        q.controller = domain.value("DC_ADDRESS");
        q.login = domain.netbiosName() + "\\" + domain.admin();
        q.password = domain.adminPassword();
        return q;
    }
    static std::string failure(const DirectoryQuery& q)
    {
        try {
            listDomainComputers(q);
        } catch (const WmiError& e) {
            return e.what();
        }
        return "<no failure>";
    }
};

TEST_F(DirectoryComputers, ListsTheEnabledComputerObjectsWithTheirNames)
{
    const auto computers = listDomainComputers(query());
    std::vector<std::string> names;
    for (const auto& c : computers)
        names.push_back(c.name);
    std::sort(names.begin(), names.end());
    QStringList expected = QString::fromStdString(testDomain().value("ENABLED_COMPUTERS")).split(',');
    expected.sort();
    std::vector<std::string> wanted;
    for (const QString& n : expected)
        wanted.push_back(n.toStdString());
    EXPECT_EQ(names, wanted);

    const auto archive = std::find_if(computers.begin(), computers.end(),
                                      [](const DirectoryComputer& c) { return c.name == "SRV-ARCHIVE"; });
    ASSERT_NE(archive, computers.end());
    EXPECT_EQ(archive->dnsHostName, testDomain().hostName("SRV-ARCHIVE"));
    EXPECT_EQ(archive->operatingSystem, "Windows Server 2022 Standard");
}

TEST_F(DirectoryComputers, RefusalsAndMissingPiecesSayWhatToDo)
{
    DirectoryQuery wrong = query();
    wrong.password = "Wr0ng-Secret!";
    const std::string refused = failure(wrong);
    EXPECT_NE(refused.find("refused the password"), std::string::npos) << refused;
    EXPECT_EQ(refused.find(wrong.password), std::string::npos) << refused;

    DirectoryQuery local = query();
    local.login = "Administrator";
    EXPECT_NE(failure(local).find("needs a domain login"), std::string::npos) << failure(local);

    DirectoryQuery noDomain = query();
    noDomain.domain.clear();
    EXPECT_NE(failure(noDomain).find("no domain is set"), std::string::npos);

    // Nothing listens for LDAP on this address of the namespace.
    DirectoryQuery silent = query();
    silent.controller = "127.0.0.2";
    const std::string down = failure(silent);
    EXPECT_NE(down.find("127.0.0.2"), std::string::npos) << down;
}

} // namespace
} // namespace vorlu
