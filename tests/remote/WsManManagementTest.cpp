// The management service over WS-Management against the test server: the
// enumeration, the logins a node offers, HTTPS, and every way a node fails.
#include "remote/WsManManagement.h"
#include "support/WsManTestServer.h"

#include <QTcpServer>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

std::string drivesNode(const std::string& extra = "")
{
    return R"({"classes": {
      "Win32_CDROMDrive": [
        {"Drive": "D:", "Name": "HL-DT-ST DVDRAM", "MediaLoaded": true, "Availability": 3, "ConfigManagerErrorCode": 0,
         "Status": "OK", "ErrorCleared": false, "Caption": null},
        {"Drive": "E:", "Name": "TSSTcorp <CD> & DVD", "MediaLoaded": false, "Availability": 8, "ConfigManagerErrorCode": 22,
         "Status": "Error", "ErrorCleared": true, "Caption": "E"},
        {"Drive": "F:", "Name": "Virtual", "MediaLoaded": false, "Availability": 3, "ConfigManagerErrorCode": 0,
         "Status": "OK", "ErrorCleared": false, "Caption": ""}],
      "Win32_ComputerSystem": [{"Name": "SRV-ARCHIVE"}]},
     "itemsPerReply": 1,
     "faults": [{"match": "Win32_Bogus", "httpStatus": 500, "code": "s:Sender", "subcode": "w:CannotProcessFilter",
                 "wsmanCode": 2150858778, "message": "The WS-Management service cannot process the request. The WMI service returned an 'invalid class' error."},
                {"match": "Win32_Secret", "httpStatus": 500, "code": "s:Receiver", "wsmanCode": 2147942405, "message": "Access is denied. "}])" +
           extra + "}";
}

struct Remote {
    RemoteTransport transport;
    SecurityContextFactory contexts;
    std::string user = std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User;
    std::string password = WsManTestServer::Password;
    std::string nameSpace = "root\\cimv2";

    Remote(const WsManTestServer& server, bool https = false)
    {
        transport.port = server.port();
        transport.https = https;
        transport.caFile = server.caFile();
    }
    std::unique_ptr<WmiServices> connect() const
    {
        WsManManagement management([t = transport] { return t; }, contexts);
        return management.createLocator()->connectServer("127.0.0.1", nameSpace, user, password);
    }
    std::vector<WmiRow> query(const std::string& text) const { return connect()->execQuery(text); }
    std::string failure(const std::string& text) const
    {
        try {
            query(text);
        } catch (const WmiError& e) {
            return e.what();
        }
        return "<no failure>";
    }
};

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST(WsManManagement, BasicOverHttpsPullsOneItemPerReplyInBothShapes)
{
    WsManTestServer server({drivesNode(), "basic", true});
    ASSERT_TRUE(server.started()) << server.error();
    Remote remote(server, true);
    auto services = remote.connect();
    const auto all = services->execQuery("SELECT * FROM Win32_CDROMDrive");
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].property("MediaLoaded"), "True");
    EXPECT_EQ(all[0].property("ErrorCleared"), "False");
    EXPECT_EQ(all[0].property("Availability"), "3");
    EXPECT_EQ(all[0].property("Caption"), std::nullopt);
    EXPECT_EQ(all[1].property("name"), "TSSTcorp <CD> & DVD");
    EXPECT_EQ(all[1].property("ConfigManagerErrorCode"), "22");
    EXPECT_EQ(all[2].property("Caption"), "");
    const auto some = services->execQuery("Select Drive, Name From Win32_CDROMDrive");
    ASSERT_EQ(some.size(), 3u);
    EXPECT_EQ(some[2].properties(),
              (std::vector<std::pair<std::string, std::optional<std::string>>>{{"Drive", "F:"}, {"Name", "Virtual"}}));
    const std::string log = server.requestLog();
    EXPECT_EQ(occurrences(log, "REQUEST Enumerate resource=http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/*"), 2u);
    EXPECT_EQ(occurrences(log, "REQUEST Pull"), 4u) << log;
    EXPECT_EQ(occurrences(log, "REQUEST Release"), 0u);
    EXPECT_EQ(log.find(WsManTestServer::Password), std::string::npos);
}

// Waits go in short slices so a Cancel is seen; a node slower than many of
// them still answers, over TLS as over plain HTTP.
TEST(WsManManagement, ASlowNodeAnswersAcrossManyWaitSlices)
{
    for (const bool https : {false, true}) {
        WsManTestServer server({drivesNode(R"(, "itemsPerReply": 32, "behaviour": "slow:400")"), "basic", https, true});
        ASSERT_TRUE(server.started()) << server.error();
        Remote remote(server, https);
        remote.transport.allowClearTextBasic = true;
        EXPECT_EQ(remote.query("SELECT * FROM Win32_CDROMDrive").size(), 3u) << (https ? "https" : "http");
    }
}

TEST(WsManManagement, NtlmSealsEveryMessageOverHttpAndNotOverHttps)
{
    for (const bool https : {false, true}) {
        WsManTestServer server({drivesNode(), "ntlm", https});
        ASSERT_TRUE(server.started()) << server.error();
        Remote remote(server, https);
        auto services = remote.connect();
        const auto all = services->execQuery("SELECT * FROM Win32_CDROMDrive");
        ASSERT_EQ(all.size(), 3u);
        EXPECT_EQ(all[1].property("Name"), "TSSTcorp <CD> & DVD");
        EXPECT_EQ(services->execQuery("Select Drive From Win32_CDROMDrive").at(2).property("Drive"), "F:");
        remote.user = WsManTestServer::User; // a local account by its plain name
        EXPECT_EQ(remote.query("Select Name From Win32_ComputerSystem").at(0).property("Name"), "SRV-ARCHIVE");
        const std::string log = server.requestLog();
        EXPECT_EQ(occurrences(log, "AUTH ntlm ok"), 2u) << log;
        EXPECT_EQ(occurrences(log, "REFUSED"), 0u) << log;
        EXPECT_EQ(occurrences(log, "REQUEST Pull"), 4u) << log;

        remote.password = "Wrong-pw!";
        const std::string refused = remote.failure("x");
        EXPECT_TRUE(startsWith(refused, "401: the node refused the login of \"Administrator\"")) << refused;
        EXPECT_EQ(refused.find("Wrong-pw!"), std::string::npos);
    }
}

TEST(WsManManagement, NtlmOverHttpsCarriesTheCertificatesChannelBinding)
{
    // A node with CbtHardeningLevel Strict refuses a sign-in that is not bound to its certificate.
    WsManTestServer server({drivesNode(), "ntlm", true, false, "", "strict"});
    ASSERT_TRUE(server.started()) << server.error();
    EXPECT_EQ(Remote(server, true).query("SELECT * FROM Win32_CDROMDrive").size(), 3u);
    EXPECT_EQ(occurrences(server.requestLog(), "AUTH ntlm ok"), 1u) << server.requestLog();
}

TEST(WsManManagement, AnAbandonedEnumerationIsReleased)
{
    WsManTestServer server({drivesNode(), "basic", false, true});
    ASSERT_TRUE(server.started()) << server.error();
    Remote remote(server);
    remote.transport.allowClearTextBasic = true;
    WsManChannel channel(remote.transport, "127.0.0.1", remote.user, remote.password, {});
    try {
        runEnumeration(channel, "root\\cimv2", "SELECT * FROM Win32_CDROMDrive", QDeadlineTimer(5000), 1);
        ADD_FAILURE() << "more items than allowed were taken";
    } catch (const WmiError& e) {
        EXPECT_STREQ(e.what(), "the node's answer holds more than 1 items and was refused");
    }
    EXPECT_EQ(occurrences(server.requestLog(), "REQUEST Release context=uuid:"), 1u) << server.requestLog();
    EXPECT_EQ(occurrences(server.requestLog(), "known=yes"), 1u);
    // The channel stays usable after a release.
    EXPECT_EQ(runEnumeration(channel, "root\\cimv2", "Select Name From Win32_ComputerSystem", QDeadlineTimer(5000)).size(), 1u);
}

TEST(WsManManagement, FaultsReachTheCallerAsTheNodeWordsThem)
{
    WsManTestServer server({drivesNode(), "basic", false, true});
    ASSERT_TRUE(server.started()) << server.error();
    Remote remote(server);
    remote.transport.allowClearTextBasic = true;
    EXPECT_EQ(remote.failure("SELECT * FROM Win32_Bogus"),
              "The WS-Management service cannot process the request. The WMI service returned an 'invalid class' "
              "error. (0x8033801A)");
    EXPECT_EQ(remote.failure("SELECT * FROM Win32_Secret"), "Access is denied. (0x80070005)");
    remote.nameSpace = "root\\nowhere";
    EXPECT_EQ(remote.failure("SELECT * FROM Win32_CDROMDrive"),
              "The WS-Management service cannot process the request. The WMI service returned an 'invalid namespace' "
              "error. (0x80338012)");
}

TEST(WsManManagement, LoginsFollowWhatTheNodeOffersAndWhatIsAllowed)
{
    WsManTestServer kerberos({drivesNode(), "kerberos"});
    WsManTestServer basic({drivesNode(), "basic", false, true});
    ASSERT_TRUE(kerberos.started()) << kerberos.error();
    ASSERT_TRUE(basic.started()) << basic.error();
    // A node of a domain: a local account of another computer is not sent to Kerberos, and NTLM is refused.
    const std::string local = Remote(kerberos).failure("x");
    EXPECT_TRUE(startsWith(local, "401: the node refused the login of \"SRV-ARCHIVE\\Administrator\"")) << local;

    Remote clear(basic);
    const std::string refused = clear.failure("Select Name From Win32_ComputerSystem");
    EXPECT_TRUE(startsWith(refused, "401: the node offers only Basic; Basic over plain HTTP would send the password"))
        << refused;
    EXPECT_EQ(occurrences(basic.requestLog(), "AUTH basic"), 0u) << "no password was sent";

    clear.transport.allowClearTextBasic = true;
    EXPECT_EQ(clear.query("Select Name From Win32_ComputerSystem").at(0).property("Name"), "SRV-ARCHIVE");
    clear.user = WsManTestServer::User; // a plain user name signs in as well
    EXPECT_EQ(clear.query("Select Name From Win32_ComputerSystem").size(), 1u);

    clear.password = "Wrong-pw!";
    const std::string wrong = clear.failure("Select Name From Win32_ComputerSystem");
    EXPECT_TRUE(startsWith(wrong, "401: the node refused the login of \"Administrator\"")) << wrong;
    EXPECT_EQ(wrong.find("Wrong-pw!"), std::string::npos);
}

TEST(WsManManagement, TheCertificateOfAnHttpsNodeIsChecked)
{
    WsManTestServer server({drivesNode(), "basic", true});
    ASSERT_TRUE(server.started()) << server.error();
    Remote remote(server, true);
    remote.transport.caFile.clear(); // the system's authorities only: the test authority is not among them
    const std::string refused = remote.failure("Select Name From Win32_ComputerSystem");
    EXPECT_TRUE(startsWith(refused, "the node's certificate was refused: ")) << refused;
    remote.transport.verifyCertificate = false;
    EXPECT_EQ(remote.query("Select Name From Win32_ComputerSystem").size(), 1u);
    remote.transport.verifyCertificate = true;
    remote.transport.https = false; // plain HTTP to an HTTPS listener
    const std::string plain = remote.failure("x");
    EXPECT_TRUE(startsWith(plain, "the node closed the connection before it answered")) << plain;
}

TEST(WsManManagement, UnreachableSlowSilentAndBrokenNodesFailWithTheirReason)
{
    try {
        WsManManagement([] { return RemoteTransport{}; })
            .createLocator()
            ->connectServer("10.0.0.5\r\nX-Forged: 1", "root\\cimv2", "u", "p");
        ADD_FAILURE() << "a forged address was used";
    } catch (const WmiError& e) {
        EXPECT_STREQ(e.what(), "the node's address \"10.0.0.5\r\nX-Forged: 1\" is not a host name or an IP address");
    }
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const int port = closed.serverPort();
    closed.close();
    {
        WsManTestServer any({drivesNode(), "basic"});
        Remote remote(any);
        remote.transport.port = port;
        EXPECT_EQ(remote.failure("x"),
                  "connection refused on port " + std::to_string(port) + ": is remote management enabled on the node?");
    }
    const struct {
        const char* behaviour;
        const char* start;
    } cases[] = {
        {"slow:1500", "the node did not answer within 600 ms"},
        {"silent", "the node did not answer within 600 ms"},
        {"malformed", "the node's answer is not well-formed XML"},
        {"oversized", "the node's answer is larger than 4 MB and was refused"},
        {"deep", "the node's answer is nested deeper than 64 elements"},
        {"entities", "the node's answer holds a document type declaration"},
        {"empty500", "the node refused the message (HTTP 500 without a body)"},
    };
    for (const auto& c : cases) {
        WsManTestServer server({drivesNode(std::string(R"(, "behaviour": ")") + c.behaviour + "\""), "basic", false, true});
        ASSERT_TRUE(server.started()) << server.error();
        Remote remote(server);
        remote.transport.allowClearTextBasic = true;
        remote.transport.queryTimeoutMs = 600;
        const std::string text = remote.failure("Select Name From Win32_ComputerSystem");
        EXPECT_TRUE(startsWith(text, c.start)) << c.behaviour << ": " << text;
    }
}

constexpr const char* NameQuery = "Select Name From Win32_ComputerSystem";

std::unique_ptr<WmiServices> connect(WmiLocator& locator, const Remote& remote, const std::string& nameSpace,
                                     const std::string& user)
{
    return locator.connectServer("127.0.0.1", nameSpace, user, remote.password);
}

TEST(WsManManagement, ALocatorsServicesShareOneConnectionThatAFaultOrAnotherLoginEnds)
{
    WsManTestServer server({drivesNode(R"(, "itemsPerReply": 32)"), "ntlm"});
    ASSERT_TRUE(server.started()) << server.error();
    Remote remote(server);
    WsManManagement management([t = remote.transport] { return t; });
    {
        // As a node's diagnosis holds them: one services object per namespace, for the whole command.
        auto locator = management.createLocator();
        auto configured = connect(*locator, remote, "root\\CIMV2", remote.user);
        auto diagnostics = connect(*locator, remote, "root\\cimv2", remote.user);
        EXPECT_EQ(configured->execQuery(NameQuery).size(), 1u);
        EXPECT_EQ(diagnostics->execQuery("SELECT * FROM Win32_CDROMDrive").size(), 3u);
        EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 1u);
        EXPECT_THROW(diagnostics->execQuery("SELECT * FROM Win32_Bogus"), WmiError);
        EXPECT_EQ(configured->execQuery(NameQuery).size(), 1u);
        EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 2u) << "a fault ends the connection";
        auto other = connect(*locator, remote, "root\\cimv2", WsManTestServer::User);
        EXPECT_EQ(other->execQuery(NameQuery).size(), 1u);
        EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 3u) << "another login, another connection";
    }
    // Released with its services: the next operation connects anew.
    EXPECT_EQ(remote.query(NameQuery).size(), 1u);
    EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 4u);
    EXPECT_EQ(occurrences(server.requestLog(), "AUTH ntlm ok"), 4u);
    EXPECT_EQ(occurrences(server.requestLog(), "REFUSED"), 0u) << server.requestLog();
}

TEST(WsManManagement, AKeptConnectionTheNodeDroppedIsReplacedOnce)
{
    for (const char* auth : {"ntlm", "basic"}) {
        WsManTestServer server({drivesNode(R"(, "itemsPerReply": 32, "closeAfterAnswers": 1)"), auth, false, true});
        ASSERT_TRUE(server.started()) << server.error();
        Remote remote(server);
        remote.transport.allowClearTextBasic = true;
        auto services = remote.connect();
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(services->execQuery(NameQuery).size(), 1u) << auth;
        EXPECT_EQ(occurrences(server.requestLog(), "CONNECTION"), 3u) << auth << "\n" << server.requestLog();
    }
}

TEST(WsManManagement, ANodeThatWantsTheLoginFirstGetsItFromThenOn)
{
    WsManTestServer server({drivesNode(R"(, "itemsPerReply": 32, "loginFirst": true)"), "ntlm"});
    ASSERT_TRUE(server.started()) << server.error();
    Remote remote(server);
    WsManManagement management([t = remote.transport] { return t; });
    auto query = [&] {
        return connect(*management.createLocator(), remote, "root\\cimv2", remote.user)->execQuery(NameQuery);
    };
    EXPECT_EQ(query().size(), 1u);
    const std::string first = server.requestLog();
    EXPECT_EQ(occurrences(first, "REFUSED message with the login"), 1u) << first;
    EXPECT_EQ(occurrences(first, "CONNECTION"), 2u) << first;
    EXPECT_EQ(query().size(), 1u);
    const std::string both = server.requestLog();
    EXPECT_EQ(occurrences(both, "REFUSED"), 1u) << "the run remembers: " << both;
    // The negotiate leg, the last leg with an empty body, the query.
    EXPECT_EQ(occurrences(both, "POST ") - occurrences(first, "POST "), 3u) << both;
}

} // namespace
} // namespace vorlu
