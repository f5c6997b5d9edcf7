// Kerberos sign-in against the throwaway domain: the program's client gets
// its ticket from the domain's KDC and talks to the test server, which holds
// the node's service keytab, with sealed bodies over HTTP and with the
// certificate's channel binding over HTTPS.
#include "platform/Management.h"
#include "remote/WsManManagement.h"
#include "support/TestDomain.h"
#include "support/WsManTestServer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vorlu {
namespace {

using test::testDomain;

constexpr const char* Node = R"({
  "classes": { "Win32_CDROMDrive": [ {"Drive": "D:", "Name": "DVD-RW GH24", "MediaLoaded": true},
                                     {"Drive": "E:", "Name": "BD-RE", "MediaLoaded": false} ] },
  "itemsPerReply": 1
})";
const std::string Query = "SELECT * FROM Win32_CDROMDrive";

class KerberosSignIn : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        if (!testDomain().enter(&why))
            GTEST_SKIP() << why;
    }

    WsManTestServer server(bool https = false, const std::string& binding = "none",
                           const std::string& auth = "kerberos") const
    {
        WsManTestServer::Options options;
        options.nodeJson = Node;
        options.auth = auth;
        options.https = https;
        options.keytab = testDomain().keytab("SRV-ARCHIVE");
        options.channelBinding = binding;
        return WsManTestServer(options);
    }

    // The drives of the node at 127.0.0.1 signed in as login, the way the
    // program does it, Kerberos aimed at the node's service name.
    static std::vector<WmiRow> drives(const WsManTestServer& node, const std::string& login,
                                      const std::string& password, bool https = false,
                                      const std::string& serviceHost = testDomain().hostName("SRV-ARCHIVE"))
    {
        RemoteTransport transport;
        transport.port = node.port();
        transport.https = https;
        transport.caFile = node.caFile();
        // The node's DNS name as a directory listing leaves it for the node's address.
        auto names = std::make_shared<KerberosNames>();
        names->remember("127.0.0.1", serviceHost);
        WsManManagement management([transport] { return transport; }, {}, names);
        return management.createLocator()->connectServer("127.0.0.1", "root\\cimv2", login, password)->execQuery(Query);
    }

    static std::string failure(const std::function<void()>& work)
    {
        try {
            work();
        } catch (const WmiError& e) {
            return e.what();
        }
        return "<no failure>";
    }
};

TEST_F(KerberosSignIn, EveryDomainLoginFormSignsInWithSealedBodies)
{
    const auto& domain = testDomain();
    for (const std::string& login : {domain.netbiosName() + "\\" + domain.admin(),
                                     domain.admin() + "@" + domain.dnsDomain()}) {
        SCOPED_TRACE(login);
        const WsManTestServer node = server();
        ASSERT_TRUE(node.started()) << node.error();
        const auto rows = drives(node, login, domain.adminPassword());
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].property("Name").value_or(""), "BD-RE");
        const std::string log = node.requestLog();
        // One sign-in for the whole enumeration (Enumerate and Pull), every body sealed.
        EXPECT_EQ(occurrences(log, "AUTH kerberos ok user=" + domain.admin() + "@" + domain.realm()), 1u) << log;
        EXPECT_EQ(occurrences(log, "REQUEST Pull"), 1u) << log;
        EXPECT_EQ(occurrences(log, "REFUSED"), 0u) << log;
    }
}

TEST_F(KerberosSignIn, AnEmptyLoginUsesTheTicketTheUserHolds)
{
    const auto& domain = testDomain();
    const WsManTestServer node = server();
    ASSERT_TRUE(node.started()) << node.error();
    const std::string none = failure([&] { drives(node, "", ""); });
    EXPECT_NE(none.find("an empty login uses your Kerberos ticket, once you hold one"), std::string::npos) << none;

    QTemporaryDir home;
    const std::string cache = "FILE:" + home.filePath("ccache").toStdString();
    ::setenv("KRB5CCNAME", cache.c_str(), 1);
    QProcess kinit;
    kinit.start("kinit", {QString::fromStdString(domain.admin() + "@" + domain.realm())});
    kinit.write(QByteArray::fromStdString(domain.adminPassword() + "\n"));
    kinit.closeWriteChannel();
    ASSERT_TRUE(kinit.waitForFinished(20000) && kinit.exitCode() == 0) << kinit.readAllStandardError().toStdString();
    EXPECT_EQ(drives(node, "", "").size(), 2u);
    ::setenv("KRB5CCNAME", "MEMORY:vorlu-test", 1);
}

TEST_F(KerberosSignIn, APasswordSignInLeavesTheUsersCredentialCacheAlone)
{
    const auto& domain = testDomain();
    QTemporaryDir home;
    const QString cache = home.filePath("ccache");
    ::setenv("KRB5CCNAME", ("FILE:" + cache.toStdString()).c_str(), 1);
    const WsManTestServer node = server();
    ASSERT_TRUE(node.started()) << node.error();
    EXPECT_EQ(drives(node, domain.admin() + "@" + domain.dnsDomain(), domain.adminPassword()).size(), 2u);
    EXPECT_FALSE(QFile::exists(cache));
    ::setenv("KRB5CCNAME", "MEMORY:vorlu-test", 1);
}

TEST_F(KerberosSignIn, FailuresSayWhatToDoAndNeverThePassword)
{
    const auto& domain = testDomain();
    const WsManTestServer node = server();
    ASSERT_TRUE(node.started()) << node.error();
    const std::string login = domain.admin() + "@" + domain.dnsDomain();
    const std::string right = domain.adminPassword();
    const std::string wrong = "Wr0ng-Secret!";
    const struct {
        const char* what;
        std::string login;
        std::string password;
        std::string host;
        std::string expected;
    } cases[] = {
        {"wrong password", login, wrong, domain.hostName("SRV-ARCHIVE"), "the domain refused the password of"},
        {"unknown user", "nobody@" + domain.dnsDomain(), wrong, domain.hostName("SRV-ARCHIVE"),
         "the domain does not know the user"},
        // No such service: NTLM is tried, and the Kerberos reason is kept.
        {"no service principal", login, right, "no-such-node." + domain.dnsDomain(),
         "has no service principal HTTP/no-such-node." + domain.dnsDomain()},
        {"another node's service", login, right, domain.hostName("WS-LAB-07"), "refused the Kerberos ticket"},
        {"no KDC for the realm", domain.admin() + "@nowhere.invalid", wrong, domain.hostName("SRV-ARCHIVE"),
         "no Kerberos KDC answers for the realm NOWHERE.INVALID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = failure([&] { drives(node, c.login, c.password, false, c.host); });
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_EQ(text.find(c.password), std::string::npos) << text;
    }
    const std::string log = node.requestLog();
    EXPECT_EQ(log.find(wrong), std::string::npos);
    EXPECT_EQ(log.find(right), std::string::npos);
}

TEST_F(KerberosSignIn, ANodeOfferingKerberosAloneTakesTheSameSignIn)
{
    const auto& domain = testDomain();
    const WsManTestServer node = server(false, "none", "kerberos-only");
    ASSERT_TRUE(node.started()) << node.error();
    EXPECT_EQ(drives(node, domain.admin() + "@" + domain.dnsDomain(), domain.adminPassword()).size(), 2u);
    EXPECT_EQ(occurrences(node.requestLog(), "AUTH kerberos ok"), 1u) << node.requestLog();
}

TEST_F(KerberosSignIn, StrictChannelBindingAcceptsTheBoundSignInOverHttps)
{
    const auto& domain = testDomain();
    for (const char* binding : {"strict", "relaxed"}) {
        SCOPED_TRACE(binding);
        const WsManTestServer node = server(true, binding);
        ASSERT_TRUE(node.started()) << node.error();
        EXPECT_EQ(drives(node, domain.netbiosName() + "\\" + domain.admin(), domain.adminPassword(), true).size(), 2u);
        EXPECT_EQ(occurrences(node.requestLog(), "AUTH kerberos ok"), 1u) << node.requestLog();
    }
}

} // namespace
} // namespace vorlu
