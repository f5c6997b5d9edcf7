// The program's NTLM against the test server's acceptor: the handshake on one
// kept-alive connection, sealed requests and replies, and the refusals of
// altered parts and of a wrong password.
#include "platform/Management.h"
#include "remote/NtlmContext.h"
#include "remote/RawHttp.h"
#include "remote/SealedBody.h"
#include "support/WsManTestServer.h"

#include <QTcpSocket>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace vorlu {
namespace {

using test::enumerateEnvelope;
using test::rawExchange;
using test::rawPost;
using test::RawReply;

constexpr const char* Node = R"({
  "classes": { "Win32_CDROMDrive": [ {"Drive": "D:", "Name": "DVD-RW GH24", "MediaLoaded": true} ] }
})";
const std::string Query = "SELECT * FROM Win32_CDROMDrive";
const std::string Item = "<p:Drive>D:</p:Drive><p:Name>DVD-RW GH24</p:Name><p:MediaLoaded>true</p:MediaLoaded>";

std::string base64(const std::string& bytes)
{
    return QByteArray::fromStdString(bytes).toBase64().toStdString();
}

std::string qualifiedUser()
{
    return std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User;
}

// One connection to the server signed in with NTLM, the way a client does it:
// the first token with an empty body, the last one with the first sealed request.
struct Session {
    QTcpSocket socket;
    std::unique_ptr<SecurityContext> ntlm;

    Session(const WsManTestServer& server, const std::string& user, const std::string& password)
        : ntlm(makeNtlmContext(user, password, "127.0.0.1"))
    {
        socket.connectToHost("127.0.0.1", static_cast<quint16>(server.port()));
        socket.waitForConnected(5000);
    }

    RawReply signIn(const std::string& soap)
    {
        const RawReply challenge = rawExchange(socket, rawPost("", {{"Authorization", "Negotiate " + base64(ntlm->step(""))}}));
        const std::string offer = challenge.header("www-authenticate");
        if (challenge.status != 401 || offer.rfind("Negotiate ", 0) != 0)
            return challenge;
        const std::string token = QByteArray::fromBase64(QByteArray::fromStdString(offer.substr(10))).toStdString();
        const std::string last = ntlm->step(token);
        return rawExchange(socket, rawPost(buildSealedBody(*ntlm, soap), {{"Authorization", "Negotiate " + base64(last)},
                                                                          {"Content-Type", SealedBodyContentType}}));
    }

    RawReply send(const std::string& sealedBody)
    {
        return rawExchange(socket, rawPost(sealedBody, {{"Content-Type", SealedBodyContentType}}));
    }
};

TEST(NtlmContext, SignsInAndSealsAConversationWithTheNode)
{
    WsManTestServer server({Node});
    ASSERT_TRUE(server.started()) << server.error();
    for (const std::string& user : {qualifiedUser(), std::string(WsManTestServer::User)}) {
        SCOPED_TRACE(user);
        Session session(server, user, WsManTestServer::Password);
        EXPECT_EQ(session.ntlm->scheme(), "Negotiate");
        const RawReply first = session.signIn(enumerateEnvelope(Query));
        ASSERT_EQ(first.status, 200) << server.requestLog();
        EXPECT_TRUE(session.ntlm->established());
        ASSERT_TRUE(isSealedBody(first.header("content-type")));
        EXPECT_EQ(first.body.find("Win32_CDROMDrive"), std::string::npos) << "the reply travelled in clear";
        EXPECT_NE(readSealedBody(*session.ntlm, first.body, first.header("content-type")).find(Item), std::string::npos);

        // Later messages of the connection carry no token, only the session's seal.
        for (int i = 0; i < 3; ++i) {
            const RawReply next = session.send(buildSealedBody(*session.ntlm, enumerateEnvelope(Query)));
            ASSERT_EQ(next.status, 200) << server.requestLog();
            EXPECT_NE(readSealedBody(*session.ntlm, next.body, next.header("content-type")).find(Item),
                      std::string::npos);
        }
    }
    EXPECT_EQ(server.requestLog().find("REFUSED"), std::string::npos) << server.requestLog();
}

TEST(NtlmContext, AlteredPartsAreRefusedBothWays)
{
    WsManTestServer server({Node});
    ASSERT_TRUE(server.started()) << server.error();
    // Where in the octet-stream part of a reply a byte is changed: the
    // signature and the sealed data.
    for (const std::size_t offsetInPart : {std::size_t{10}, std::size_t{40}}) {
        SCOPED_TRACE(offsetInPart);
        Session session(server, qualifiedUser(), WsManTestServer::Password);
        RawReply reply = session.signIn(enumerateEnvelope(Query));
        ASSERT_EQ(reply.status, 200);
        const std::size_t part = reply.body.find("octet-stream\r\n") + 14;
        reply.body[part + offsetInPart] = static_cast<char>(reply.body[part + offsetInPart] ^ 0x20);
        try {
            readSealedBody(*session.ntlm, reply.body, reply.header("content-type"));
            ADD_FAILURE() << "an altered reply was accepted";
        } catch (const WmiError& e) {
            EXPECT_NE(std::string(e.what()).find("does not verify"), std::string::npos) << e.what();
        }
    }

    Session session(server, qualifiedUser(), WsManTestServer::Password);
    ASSERT_EQ(session.signIn(enumerateEnvelope(Query)).status, 200);
    std::string body = buildSealedBody(*session.ntlm, enumerateEnvelope(Query));
    const std::size_t data = body.find("octet-stream\r\n") + 14 + 4 + 16;
    body[data + 5] = static_cast<char>(body[data + 5] ^ 0x01);
    EXPECT_EQ(session.send(body).status, 400);
    EXPECT_NE(server.requestLog().find("REFUSED sealed body"), std::string::npos);
}

TEST(NtlmContext, AWrongPasswordIsRefusedByTheNode)
{
    WsManTestServer server({Node});
    ASSERT_TRUE(server.started()) << server.error();
    Session session(server, qualifiedUser(), "not-the-password");
    const RawReply reply = session.signIn(enumerateEnvelope(Query));
    EXPECT_EQ(reply.status, 401);
    EXPECT_EQ(reply.header("www-authenticate"), "Negotiate");
    EXPECT_NE(server.requestLog().find("AUTH ntlm failed"), std::string::npos);
    EXPECT_EQ(server.requestLog().find("REQUEST"), std::string::npos);
}

TEST(NtlmContext, MisusesAndBadTokensAreErrorsWithoutThePassword)
{
    auto ntlm = makeNtlmContext(qualifiedUser(), WsManTestServer::Password, "127.0.0.1");
    EXPECT_FALSE(ntlm->established());
    EXPECT_THROW(ntlm->seal("<s:Envelope/>"), WmiError);
    EXPECT_THROW(ntlm->unseal(std::string(40, '\0')), WmiError);
    EXPECT_THROW(makeNtlmContext("", WsManTestServer::Password, "127.0.0.1"), WmiError);
    EXPECT_THROW(makeNtlmContext("SRV-ARCHIVE\\", WsManTestServer::Password, "127.0.0.1"), WmiError);

    ASSERT_FALSE(ntlm->step("").empty());
    for (const std::string& challenge : {std::string(), std::string("NTLMSSP\0\2\0\0\0garbage", 19)}) {
        try {
            auto again = makeNtlmContext(qualifiedUser(), WsManTestServer::Password, "127.0.0.1");
            again->step("");
            again->step(challenge);
            ADD_FAILURE() << "a bad challenge was taken";
        } catch (const WmiError& e) {
            EXPECT_NE(std::string(e.what()).find("NTLM sign-in"), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).find(WsManTestServer::Password), std::string::npos);
        }
    }
}

// Exits 0 when the error names the package to install and not the password.
[[noreturn]] void connectWithoutTheMechanism()
{
    setenv("GSS_MECH_CONFIG", "/dev/null", 1);
    try {
        makeNtlmContext(qualifiedUser(), WsManTestServer::Password, "127.0.0.1");
    } catch (const WmiError& e) {
        const std::string text = e.what();
        std::exit(text.find("gss-ntlmssp") != std::string::npos && text.find(WsManTestServer::Password) == std::string::npos
                      ? 0
                      : 2);
    }
    std::exit(1);
}

TEST(NtlmContext, AMissingMechanismNamesThePackage)
{
    // A process of its own: GSSAPI reads its mechanisms once.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(connectWithoutTheMechanism(), testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace vorlu
