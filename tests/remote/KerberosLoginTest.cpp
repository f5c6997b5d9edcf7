// Which logins go to Kerberos and as whom, the name a node's ticket is asked
// for, the channel binding of a certificate, and the words of Kerberos failures.
#include "remote/ChannelBinding.h"
#include "remote/KerberosContext.h"
#include "remote/KerberosLogin.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <krb5.h>

namespace vorlu {
namespace {

TEST(KerberosLogin, DomainLoginsBecomePrincipalsAndLocalAccountsStayWithNtlm)
{
    const struct {
        std::string login;
        std::optional<std::string> principal;
    } cases[] = {
        {"", std::string()},
        {"CORP\\admin", "admin@CORP.EXAMPLE.COM"},
        {"corp\\admin", "admin@CORP.EXAMPLE.COM"},
        {"corp.example.com\\admin", "admin@CORP.EXAMPLE.COM"},
        {"admin@corp.example.com", "admin@CORP.EXAMPLE.COM"},
        {"admin@branch.example.org", "admin@BRANCH.EXAMPLE.ORG"},
        {"SRV-ARCHIVE\\Administrator", std::nullopt},
        {"Administrator", std::nullopt},
        {"CORP\\", std::nullopt},
        {"\\admin", std::nullopt},
        {"admin@", std::nullopt},
        {"@corp.example.com", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.login);
        EXPECT_EQ(kerberosPrincipal(c.login, "CORP.EXAMPLE.COM"), c.principal);
    }
    // Without a realm of its own, only a login naming its domain can go to Kerberos.
    EXPECT_EQ(kerberosPrincipal("CORP\\admin", ""), std::nullopt);
    EXPECT_EQ(kerberosPrincipal("admin@corp.example.com", ""), "admin@CORP.EXAMPLE.COM");
}

std::string pointer(const std::string& address)
{
    return address == "192.0.2.7" ? "SRV-ARCHIVE.corp.example.com" : "";
}

TEST(KerberosLogin, TheServiceNameIsTheNodesDnsName)
{
    EXPECT_EQ(kerberosHostName("srv-archive.corp.example.com", "CORP.EXAMPLE.COM", pointer),
              "srv-archive.corp.example.com");
    EXPECT_EQ(kerberosHostName("SRV-ARCHIVE", "CORP.EXAMPLE.COM", pointer), "srv-archive.corp.example.com");
    EXPECT_EQ(kerberosHostName("192.0.2.7", "CORP.EXAMPLE.COM", pointer), "srv-archive.corp.example.com");
    EXPECT_EQ(kerberosHostName("192.0.2.8", "CORP.EXAMPLE.COM", pointer), "");
    EXPECT_EQ(kerberosHostName("SRV-ARCHIVE", "", pointer), "srv-archive");
}

TEST(KerberosLogin, FailuresNameWhatToDo)
{
    const std::string user = "admin@CORP.EXAMPLE.COM";
    const std::string host = "srv-archive.corp.example.com";
    const struct {
        krb5_error_code code;
        const char* expected;
        bool unavailable; // no ticket can be had: NTLM may stand in
    } cases[] = {
        {KRB5_KDC_UNREACH, "no Kerberos KDC answers for the realm CORP.EXAMPLE.COM", true},
        {KRB5_REALM_UNKNOWN, "no Kerberos KDC answers for the realm CORP.EXAMPLE.COM", true},
        {KRB5KDC_ERR_S_PRINCIPAL_UNKNOWN, "the domain has no service principal HTTP/srv-archive.corp.example.com",
         true},
        {KRB5KRB_AP_ERR_SKEW, "clock is too far from the domain's", false},
        {KRB5KDC_ERR_PREAUTH_FAILED, "the domain refused the password of admin@CORP.EXAMPLE.COM", false},
        {KRB5KDC_ERR_CLIENT_REVOKED, "is disabled or locked out", false},
        {KRB5_FCC_NOFILE, "you hold no Kerberos ticket", false},
        {KRB5KRB_AP_ERR_BADMATCH, "channel binding", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        const auto minor = static_cast<OM_uint32>(c.code);
        EXPECT_NE(kerberosFailure(GSS_S_FAILURE, minor, user, host).find(c.expected), std::string::npos)
            << kerberosFailure(GSS_S_FAILURE, minor, user, host);
        bool unavailable = false;
        try {
            throwKerberosFailure(GSS_S_FAILURE, minor, user, host);
        } catch (const KerberosUnavailable&) {
            unavailable = true;
        } catch (const WmiError&) {
        }
        EXPECT_EQ(unavailable, c.unavailable);
    }
}

// A certificate signed with the given digest, as DER.
std::string certificate(const QTemporaryDir& dir, const char* digest)
{
    QProcess openssl;
    openssl.setWorkingDirectory(dir.path());
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                              "-keyout", "k.pem", "-out", "c.pem", "-days", "1", "-subj", "/CN=node",
                              QString("-") + digest});
    if (!openssl.waitForFinished(20000) || openssl.exitCode() != 0)
        return {};
    const auto certs = QSslCertificate::fromPath(dir.filePath("c.pem"));
    return certs.isEmpty() ? std::string() : certs.first().toDer().toStdString();
}

TEST(ChannelBinding, HashesTheCertificateWithSha256OrItsStrongerSignatureHash)
{
    QTemporaryDir dir;
    for (const auto& [digest, hash] : {std::pair{"sha256", QCryptographicHash::Sha256},
                                       std::pair{"sha1", QCryptographicHash::Sha256},
                                       std::pair{"sha384", QCryptographicHash::Sha384},
                                       std::pair{"sha512", QCryptographicHash::Sha512}}) {
        SCOPED_TRACE(digest);
        const std::string der = certificate(dir, digest);
        ASSERT_FALSE(der.empty()) << "openssl could not make a certificate";
        const QByteArray bytes = QByteArray::fromStdString(der);
        EXPECT_EQ(tlsServerEndPoint(der),
                  "tls-server-end-point:" + QCryptographicHash::hash(bytes, hash).toStdString());
    }
    EXPECT_EQ(tlsServerEndPoint(""), "");
    EXPECT_EQ(tlsServerEndPoint(std::string("\x30\x82\xff\xff\x30", 5)), "");
}

} // namespace
} // namespace vorlu
