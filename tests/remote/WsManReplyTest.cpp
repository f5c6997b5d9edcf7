// The WS-Management messages and the reading of replies, on texts alone.
#include "remote/HttpResponse.h"
#include "remote/WsManAuthentication.h"
#include "remote/WsManEnvelope.h"
#include "remote/WsManReply.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <regex>

namespace vorlu {
namespace {

std::string reply(const std::string& body, const std::string& prolog = "")
{
    return prolog +
           R"(<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope" xmlns:n="http://schemas.xmlsoap.org/ws/2004/09/enumeration" xmlns:w="http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"><s:Header/><s:Body>)" +
           body + "</s:Body></s:Envelope>";
}

std::string errorOf(const std::string& xml)
{
    try {
        readEnumerationReply(xml);
    } catch (const WmiError& e) {
        return e.what();
    }
    return "<no error>";
}

TEST(WsManReply, BothItemShapesGiveRowsWithTheValuesTheFilesExpect)
{
    const auto page = readEnumerationReply(reply(
        R"(<n:EnumerateResponse><n:EnumerationContext>uuid:1</n:EnumerationContext><w:Items>)"
        R"(<p:Win32_CDROMDrive xmlns:p="http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/Win32_CDROMDrive">)"
        R"(<p:Drive>D:</p:Drive><p:MediaLoaded>true</p:MediaLoaded><p:ErrorCleared>false</p:ErrorCleared>)"
        R"(<p:Availability>3</p:Availability><p:Caption xsi:nil="true"/><p:ErrorDescription></p:ErrorDescription>)"
        R"(<p:Name>A &amp; B &lt;DVD&gt;</p:Name><p:Capabilities>3</p:Capabilities><p:Capabilities>7</p:Capabilities>)"
        R"(<p:Status>true</p:Status></p:Win32_CDROMDrive><w:XmlFragment><Drive>E:</Drive><Status>OK</Status></w:XmlFragment></w:Items>)"
        R"(</n:EnumerateResponse>)"));
    EXPECT_EQ(page.context, "uuid:1");
    EXPECT_FALSE(page.endOfSequence);
    ASSERT_EQ(page.items.size(), 2u);
    const WmiRow& d = page.items[0];
    const std::pair<const char*, std::optional<std::string>> expected[] = {
        {"Drive", "D:"},     {"MediaLoaded", "True"}, {"ErrorCleared", "False"},       {"Availability", "3"},
        {"Caption", {}},     {"ErrorDescription", ""}, {"Name", "A & B <DVD>"},       {"Capabilities", "3,7"},
        {"Status", "true"}, // a text keeps the node's spelling; only booleans read True/False
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(d.property(name), value) << name;
    EXPECT_EQ(d.properties().size(), 9u);
    EXPECT_EQ(page.items[1].property("drive"), "E:");
    EXPECT_EQ(page.items[1].property("Status"), "OK");
}

TEST(WsManReply, EndOfSequenceOfEnumerateAndPull)
{
    EXPECT_TRUE(readEnumerationReply(reply("<n:EnumerateResponse><w:Items/><w:EndOfSequence/></n:EnumerateResponse>"))
                    .endOfSequence);
    const auto pull = readEnumerationReply(
        reply("<n:PullResponse><n:Items><w:XmlFragment><Name>X</Name></w:XmlFragment></n:Items><n:EndOfSequence/>"
              "</n:PullResponse>"));
    EXPECT_TRUE(pull.endOfSequence);
    EXPECT_TRUE(pull.context.empty());
    ASSERT_EQ(pull.items.size(), 1u);
    EXPECT_TRUE(readEnumerationReply(reply("<n:ReleaseResponse/>")).items.empty());
}

TEST(WsManReply, FaultsGiveTheirMessageAndCode)
{
    const struct {
        std::string body, text;
    } cases[] = {
        {R"(<s:Fault><s:Code><s:Value>s:Receiver</s:Value></s:Code><s:Reason><s:Text xml:lang="en-US">Access is denied. </s:Text></s:Reason>)"
         R"(<s:Detail><f:WSManFault xmlns:f="http://schemas.microsoft.com/wbem/wsman/1/wsmanfault" Code="2147942405" Machine="n">)"
         R"(<f:Message>Access is denied. </f:Message></f:WSManFault></s:Detail></s:Fault>)",
         "Access is denied. (0x80070005)"},
        {R"(<s:Fault><s:Code><s:Value>s:Sender</s:Value><s:Subcode><s:Value>w:CannotProcessFilter</s:Value></s:Subcode></s:Code>)"
         R"(<s:Reason><s:Text>r</s:Text></s:Reason><s:Detail><f:WSManFault xmlns:f="http://schemas.microsoft.com/wbem/wsman/1/wsmanfault" Code="2150858778">)"
         R"(<f:Message><f:ProviderFault provider="WMI">The WMI service returned an
            'invalid class' error.</f:ProviderFault></f:Message></f:WSManFault></s:Detail></s:Fault>)",
         "The WMI service returned an 'invalid class' error. (0x8033801A)"},
        {R"(<s:Fault><s:Code><s:Value>s:Sender</s:Value><s:Subcode><s:Value>a:DestinationUnreachable</s:Value></s:Subcode></s:Code>)"
         R"(<s:Reason><s:Text>No route to the resource.</s:Text></s:Reason></s:Fault>)",
         "No route to the resource. [DestinationUnreachable]"},
        {R"(<s:Fault><s:Code><s:Value>s:Receiver</s:Value></s:Code></s:Fault>)", "the node reported a fault (s:Receiver)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(reply(c.body)), c.text);
}

TEST(WsManReply, HostileOrBrokenRepliesAreRefusedCleanly)
{
    std::string deep = reply("<n:EnumerateResponse><w:Items>" + std::string(200 * 3, ' ') + "</w:Items></n:EnumerateResponse>");
    std::string nested;
    for (int k = 0; k < 10000; ++k)
        nested += "<w:XmlFragment>";
    for (int k = 0; k < 10000; ++k)
        nested += "</w:XmlFragment>";
    std::string many = "<n:EnumerateResponse><w:Items>";
    for (std::size_t k = 0; k <= MaxReplyItems; ++k)
        many += "<w:XmlFragment/>";
    many += "</w:Items></n:EnumerateResponse>";
    const struct {
        std::string xml, start;
    } cases[] = {
        {reply("<n:EnumerateResponse><w:Items>" + nested + "</w:Items></n:EnumerateResponse>"),
         "the node's answer is nested deeper than 64 elements"},
        {reply(R"(<n:EnumerateResponse><w:Items><w:XmlFragment><Name>&lol9;</Name></w:XmlFragment></w:Items></n:EnumerateResponse>)",
               R"(<?xml version="1.0"?><!DOCTYPE s:Envelope [<!ENTITY lol0 "lol"><!ENTITY lol9 "&lol0;&lol0;">]>)"),
         "the node's answer holds a document type declaration"},
        {reply("<n:EnumerateResponse><w:Items><w:XmlFragment><Name>&nbsp;</Name></w:XmlFragment></w:Items></n:EnumerateResponse>"),
         "the node's answer is not well-formed XML"},
        {reply("<n:EnumerateResponse><w:Items><p:Broken></w:Items>"), "the node's answer is not well-formed XML"},
        {"", "the node's answer is not well-formed XML"},
        {"<html><body>It works</body></html>", "the node's answer is not a SOAP envelope"},
        {R"(<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope"><s:Header/></s:Envelope>)",
         "the node's answer is not a SOAP message"},
        {reply(many), "the node's answer holds more than 5000 items in one reply"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(c.xml).rfind(c.start, 0), 0u) << errorOf(c.xml);
}

// A node repeating one property: read in linear time, and not past the query's time limit.
TEST(WsManReply, ARepeatedPropertyIsReadInLinearTimeAndWithinTheDeadline)
{
    std::string items = "<n:EnumerateResponse><w:Items><w:XmlFragment>";
    std::size_t repeats = 0;
    for (; items.size() < 4 * 1024 * 1024; ++repeats)
        items += "<Name>x</Name>";
    const std::string xml = reply(items + "</w:XmlFragment></w:Items><w:EndOfSequence/></n:EnumerateResponse>");
    QElapsedTimer clock;
    clock.start();
    const auto page = readEnumerationReply(xml, QDeadlineTimer(60000));
    // Generous for a loaded machine: the quadratic reading took tens of seconds.
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_EQ(page.items.size(), 1u);
    EXPECT_EQ(page.items[0].property("Name")->size(), 2 * repeats - 1); // "x,x,...,x"
    try {
        readEnumerationReply(xml, QDeadlineTimer(0));
        ADD_FAILURE() << "a reply read after the deadline was accepted";
    } catch (const WmiError& e) {
        EXPECT_STREQ(e.what(), "the node's answer could not be read within the query's time limit");
    }
}

TEST(WsManEnvelope, EnumeratePullAndReleaseCarryTheAddressingOfTheQuery)
{
    const WsManAddress address{"http://10.0.0.5:5985/wsman", "root\\cimv2", 28000};
    const std::string enumerate = enumerateEnvelope(address, "Select Name From Win32_X Where A < 'b&c'");
    for (const char* part : {
             "<wsa:To>http://10.0.0.5:5985/wsman</wsa:To>",
             "<wsman:ResourceURI s:mustUnderstand=\"true\">http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/*</wsman:ResourceURI>",
             "<wsa:Address s:mustUnderstand=\"true\">http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous</wsa:Address>",
             "<wsa:Action s:mustUnderstand=\"true\">http://schemas.xmlsoap.org/ws/2004/09/enumeration/Enumerate</wsa:Action>",
             "<wsman:MaxEnvelopeSize s:mustUnderstand=\"true\">153600</wsman:MaxEnvelopeSize>",
             "<wsman:OperationTimeout>PT28.000S</wsman:OperationTimeout>",
             "<wsman:Locale xml:lang=\"en-US\" s:mustUnderstand=\"false\"/>",
             "<wsman:OptimizeEnumeration/>",
             "<wsman:Filter Dialect=\"http://schemas.microsoft.com/wbem/wsman/1/WQL\">Select Name From Win32_X Where A &lt; 'b&amp;c'</wsman:Filter>",
         })
        EXPECT_NE(enumerate.find(part), std::string::npos) << part;
    const std::regex messageId("<wsa:MessageID>uuid:[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}</wsa:MessageID>");
    EXPECT_TRUE(std::regex_search(enumerate, messageId));
    EXPECT_NE(enumerate.substr(enumerate.find("MessageID")), enumerateEnvelope(address, "q").substr(enumerate.find("MessageID")));
    const std::string pull = pullEnvelope(address, "uuid:C1");
    EXPECT_NE(pull.find("enumeration/Pull</wsa:Action>"), std::string::npos);
    EXPECT_NE(pull.find("<wsen:Pull><wsen:EnumerationContext>uuid:C1</wsen:EnumerationContext>"), std::string::npos);
    EXPECT_NE(releaseEnvelope(address, "uuid:C1").find("<wsen:Release><wsen:EnumerationContext>uuid:C1<"),
              std::string::npos);
    EXPECT_EQ(resourceUri("root\\WMI"), "http://schemas.microsoft.com/wbem/wsman/1/wmi/root/WMI/*");
}

TEST(HttpResponse, HeadChallengesAndChunkSizes)
{
    const HttpResponse r = parseResponseHead("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Negotiate\r\n"
                                             "WWW-Authenticate: Basic realm=\"WSMAN, the node\", Kerberos\r\n"
                                             "content-length: 0\r\n");
    EXPECT_EQ(r.status, 401);
    EXPECT_EQ(r.reason, "Unauthorized");
    EXPECT_EQ(r.header("Content-Length"), "0");
    EXPECT_EQ(offeredSchemes(r), (std::vector<std::string>{"Negotiate", "Basic", "Kerberos"}));
    EXPECT_FALSE(r.closesConnection());
    const HttpResponse t = parseResponseHead("HTTP/1.1 401 x\r\nWWW-Authenticate: Negotiate TlRMTVNTUAACAAAA==\r\n");
    EXPECT_EQ(challengeToken(t, "negotiate"), "TlRMTVNTUAACAAAA==");
    EXPECT_EQ(challengeToken(r, "Negotiate"), std::nullopt);
    EXPECT_TRUE(parseResponseHead("HTTP/1.0 200 OK\r\n").closesConnection());
    EXPECT_TRUE(parseResponseHead("HTTP/1.1 200 OK\r\nConnection: close\r\n").closesConnection());
    for (const char* bad : {"", "SSH-2.0-OpenSSH", "HTTP/1.1 2x0 OK", "HTTP/1.1 2000 OK", "HTTP/1.1 200 OK\r\nno colon here"})
        EXPECT_THROW(parseResponseHead(bad), WmiError) << bad;
    EXPECT_EQ(parseChunkSize("1aF;name=v", 1000), 0x1af);
    EXPECT_EQ(parseChunkSize("0", 10), 0u);
    for (const char* bad : {"", "x1", "-5", "1 2", "FFFFFFFFF"})
        EXPECT_EQ(parseChunkSize(bad, MaxReplyBytes), std::nullopt) << bad;
    EXPECT_EQ(parseChunkSize("401", 1024), std::nullopt);
}

TEST(WsManAuthentication, TheSchemeFollowsWhatTheNodeOffersAndWhatIsAllowed)
{
    using S = std::vector<std::string>;
    EXPECT_EQ(chooseScheme(S{"Basic", "Negotiate"}, false, false), AuthScheme::Negotiate);
    EXPECT_EQ(chooseScheme(S{"Basic"}, true, false), AuthScheme::Basic);
    EXPECT_EQ(chooseScheme(S{"basic"}, false, true), AuthScheme::Basic);
    auto refusal = [](const S& offered) {
        try {
            chooseScheme(offered, false, false);
        } catch (const WmiError& e) {
            return std::string(e.what());
        }
        return std::string("<chosen>");
    };
    EXPECT_EQ(chooseScheme(S{"Kerberos", "Negotiate"}, false, false), AuthScheme::Negotiate);
    EXPECT_EQ(chooseScheme(S{"Basic", "Kerberos"}, true, false), AuthScheme::Kerberos);
    EXPECT_EQ(refusal({"CredSSP"}),
              "401: the node offers only CredSSP: enable Negotiate or Kerberos on the node (or Basic, over HTTPS)");
    EXPECT_EQ(refusal({"CredSSP", "Digest", "CredSSP"}).rfind("401: the node offers only CredSSP and Digest:", 0), 0u);
    EXPECT_EQ(refusal({}), "401: the node offers no authentication scheme");
    EXPECT_EQ(refusal({"Basic"}), "401: the node offers only Basic; Basic over plain HTTP would send the password in "
                                  "clear: use HTTPS, or allow clear-text Basic for this connection");
}

} // namespace
} // namespace vorlu
