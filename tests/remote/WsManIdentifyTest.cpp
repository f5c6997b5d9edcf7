// Identify without a login: the answer of a Windows node read, other answers
// refused, and the exchange with the test server over HTTP and HTTPS.
#include "platform/Management.h"
#include "remote/WsManIdentify.h"
#include "support/WsManTestServer.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

const char* const WindowsAnswer =
    R"(<s:Envelope xml:lang="en-US" xmlns:s="http://www.w3.org/2003/05/soap-envelope"><s:Header/><s:Body>)"
    R"(<wsmid:IdentifyResponse xmlns:wsmid="http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd">)"
    R"(<wsmid:ProtocolVersion>http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd</wsmid:ProtocolVersion>)"
    R"(<wsmid:ProductVendor>Microsoft Corporation</wsmid:ProductVendor>)"
    R"(<wsmid:ProductVersion>OS: 10.0.17763 SP: 0.0 Stack: 3.0</wsmid:ProductVersion>)"
    R"(<wsmid:SecurityProfiles><wsmid:SecurityProfileName>http://schemas.dmtf.org/wbem/wsman/1/wsman/secprofile/http/spnego-kerberos</wsmid:SecurityProfileName></wsmid:SecurityProfiles>)"
    R"(</wsmid:IdentifyResponse></s:Body></s:Envelope>)";

TEST(WsManIdentify, ReadsTheAnswerOfAWindowsNode)
{
    const auto answer = readIdentifyReply(WindowsAnswer);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->productVendor, "Microsoft Corporation");
    EXPECT_EQ(answer->productVersion, "OS: 10.0.17763 SP: 0.0 Stack: 3.0");
    EXPECT_EQ(answer->protocolVersion, "http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd");
}

TEST(WsManIdentify, FieldsCarryNoControlCharactersAndAreBounded)
{
    const std::string xml = std::string(R"(<r:IdentifyResponse xmlns:r="http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd">)") +
                            "<r:ProductVendor>Evil&#x202e;&#9;Corp</r:ProductVendor>"
                            "<r:ProductVersion>" + std::string(100000, 'v') + "</r:ProductVersion></r:IdentifyResponse>";
    const auto answer = readIdentifyReply(xml);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->productVendor, "Evil? Corp"); // XML 1.0 carries no other control character
    EXPECT_EQ(answer->productVersion.size(), 256u);
}

TEST(WsManIdentify, RefusesWhatIsNoIdentifyResponse)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "not well-formed"},
        {"<html><body>It works</body></html>", "not an IdentifyResponse"},
        {"<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body><s:Fault/></s:Body></s:Envelope>",
         "not an IdentifyResponse"},
        // The element name alone, in another namespace, is not the answer.
        {"<IdentifyResponse><ProductVendor>x</ProductVendor></IdentifyResponse>", "not an IdentifyResponse"},
        {"<!DOCTYPE x [<!ENTITY a \"aaaa\">]><x>&a;</x>", "document type"},
        {"<a><b>", "not well-formed"},
    };
    for (const auto& [xml, why] : cases) {
        std::string problem;
        EXPECT_FALSE(readIdentifyReply(xml, &problem)) << xml;
        EXPECT_NE(problem.find(why), std::string::npos) << xml << " gave: " << problem;
    }
}

TEST(WsManIdentify, TheTestServerAnswersWithoutALoginOverHttpAndHttps)
{
    for (const bool https : {false, true}) {
        WsManTestServer server({R"({"identify": {"version": "OS: 10.0.20348 SP: 0.0 Stack: 3.0"}})", "ntlm", https});
        ASSERT_TRUE(server.started()) << server.error();
        const IdentifyAnswer answer = identifyNode("127.0.0.1", server.port(), https, 5000);
        EXPECT_EQ(answer.productVendor, "Microsoft Corporation");
        EXPECT_EQ(answer.productVersion, "OS: 10.0.20348 SP: 0.0 Stack: 3.0");
        EXPECT_NE(server.requestLog().find("IDENTIFY unauthenticated"), std::string::npos);
    }
}

} // namespace
} // namespace vorlu
