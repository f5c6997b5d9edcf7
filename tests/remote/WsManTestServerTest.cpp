// The test server itself: what the adapter tests stand on must answer as a
// node does before anything is measured against it.
#include "remote/RawHttp.h"
#include "support/WsManTestServer.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

using test::enumerateEnvelope;
using test::rawExchange;
using test::rawPost;

constexpr const char* Node = R"({
  "classes": { "Win32_CDROMDrive": [ {"Drive": "D:", "MediaLoaded": true, "Caption": null} ] },
  "faults": [ {"match": "Win32_Bogus", "httpStatus": 500, "code": "s:Sender", "subcode": "w:CannotProcessFilter",
               "wsmanCode": 2150858778, "message": "The class is not known."} ]
})";

std::string basicAuthorization()
{
    const std::string credentials = std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User + ":"
        + WsManTestServer::Password;
    return "Basic " + QByteArray::fromStdString(credentials).toBase64().toStdString();
}

std::map<std::string, std::string> soapHeaders(bool withCredentials)
{
    std::map<std::string, std::string> h{{"Content-Type", "application/soap+xml;charset=UTF-8"}};
    if (withCredentials)
        h["Authorization"] = basicAuthorization();
    return h;
}

// One request on a connection of its own.
test::RawReply postOnce(const WsManTestServer& server, const std::string& query, bool withCredentials)
{
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", static_cast<quint16>(server.port()));
    if (!socket.waitForConnected(5000))
        return {};
    return rawExchange(socket, rawPost(enumerateEnvelope(query), soapHeaders(withCredentials)));
}

TEST(WsManTestServer, BasicOverHttpAnswersItemsFaultsAndRefusals)
{
    WsManTestServer server({Node, "basic", false, true});
    ASSERT_TRUE(server.started()) << server.error();
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", static_cast<quint16>(server.port()));
    ASSERT_TRUE(socket.waitForConnected(5000));

    auto refused = rawExchange(socket, rawPost(enumerateEnvelope("SELECT * FROM Win32_CDROMDrive"), soapHeaders(false)));
    EXPECT_EQ(refused.status, 401);
    EXPECT_EQ(refused.header("www-authenticate"), "Basic realm=\"WSMAN\"");

    auto items = rawExchange(socket, rawPost(enumerateEnvelope("SELECT * FROM Win32_CDROMDrive"), soapHeaders(true)));
    EXPECT_EQ(items.status, 200);
    EXPECT_NE(items.body.find("<p:Drive>D:</p:Drive><p:MediaLoaded>true</p:MediaLoaded>"
                              "<p:Caption xsi:nil=\"true\"/>"),
              std::string::npos)
        << items.body;
    EXPECT_NE(items.body.find("<w:EndOfSequence/>"), std::string::npos);

    auto fault = rawExchange(socket, rawPost(enumerateEnvelope("SELECT * FROM Win32_Bogus"), soapHeaders(true)));
    EXPECT_EQ(fault.status, 500);
    EXPECT_NE(fault.body.find("Code=\"2150858778\""), std::string::npos) << fault.body;
    EXPECT_NE(fault.body.find("<f:Message>The class is not known.</f:Message>"), std::string::npos);
    EXPECT_NE(server.requestLog().find("query=\"SELECT * FROM Win32_Bogus\""), std::string::npos);
}

TEST(WsManTestServer, OffersNegotiateAndKerberosAsADomainNodeDoes)
{
    WsManTestServer server({Node, "kerberos"});
    ASSERT_TRUE(server.started()) << server.error();
    auto reply = postOnce(server, "SELECT * FROM Win32_CDROMDrive", true);
    EXPECT_EQ(reply.status, 401);
    std::vector<std::string> offered;
    for (auto [at, end] = reply.headers.equal_range("www-authenticate"); at != end; ++at)
        offered.push_back(at->second);
    EXPECT_EQ(offered, (std::vector<std::string>{"Negotiate", "Kerberos"}));
}

TEST(WsManTestServer, HttpsWithTheTestAuthorityAndPlainBodies)
{
    WsManTestServer server({Node, "basic", true});
    ASSERT_TRUE(server.started()) << server.error();
    QSslSocket socket;
    QSslConfiguration tls = socket.sslConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(QString::fromStdString(server.caFile())));
    socket.setSslConfiguration(tls);
    socket.connectToHostEncrypted("127.0.0.1", static_cast<quint16>(server.port()));
    ASSERT_TRUE(socket.waitForEncrypted(10000)) << socket.errorString().toStdString();
    auto items = rawExchange(socket, rawPost(enumerateEnvelope("SELECT Drive FROM Win32_CDROMDrive"), soapHeaders(true)));
    EXPECT_EQ(items.status, 200);
    EXPECT_NE(items.body.find("<w:XmlFragment><Drive>D:</Drive></w:XmlFragment>"), std::string::npos) << items.body;
}

TEST(WsManTestServer, PlainBodyOverHttpIsRefusedWithAnEmpty500)
{
    WsManTestServer server({Node, "basic"});
    ASSERT_TRUE(server.started()) << server.error();
    auto reply = postOnce(server, "SELECT * FROM Win32_CDROMDrive", true);
    EXPECT_EQ(reply.status, 500);
    EXPECT_TRUE(reply.body.empty());
}

} // namespace
} // namespace vorlu
