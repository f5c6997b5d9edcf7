#include "remote/DeviceMetadata.h"
#include "remote/DiscoveryXml.h"
#include "remote/WsDiscoveryMessages.h"

#include "remote/DiscoveryReplies.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using test::metadataReply;
using test::relationshipSection;
using test::thisDeviceSection;

XmlElement read(const QByteArray& xml)
{
    QString error;
    std::optional<XmlElement> doc = readBoundedXml(xml, XmlLimits{}, &error);
    EXPECT_TRUE(doc) << error.toStdString();
    return doc ? *doc : XmlElement{};
}

QString headerText(const XmlElement& doc, const char* name)
{
    const XmlElement* e = doc.path(wsd::SoapNs, {"Header"});
    e = e ? e->child(wsd::AddressingNs, name) : nullptr;
    return e ? e->trimmedText() : QStringLiteral("<missing>");
}

TEST(WsDiscoveryMessages, ProbeAsksForDevicesOfTheDiscoveryGroup)
{
    const XmlElement doc = read(wsd::probeMessage("urn:uuid:p1"));
    EXPECT_EQ(headerText(doc, "To"), "urn:schemas-xmlsoap-org:ws:2005:04:discovery");
    EXPECT_EQ(headerText(doc, "Action"), "http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe");
    EXPECT_EQ(headerText(doc, "MessageID"), "urn:uuid:p1");
    const XmlElement* types = doc.path(wsd::SoapNs, {"Body"});
    types = types ? types->path(wsd::DiscoveryNs, {"Probe", "Types"}) : nullptr;
    ASSERT_TRUE(types);
    // Hosts compare the text itself, so the prefix must be the usual one.
    EXPECT_EQ(types->text, "wsdp:Device");
    EXPECT_TRUE(wsd::probeMessage("x").contains(R"(xmlns:wsdp="http://schemas.xmlsoap.org/ws/2006/02/devprof")"));
}

TEST(WsDiscoveryMessages, ResolveAndGetCarryTheEndpointEscaped)
{
    const QString endpoint = QStringLiteral("urn:uuid:a<b>&\"c");
    const XmlElement resolve = read(wsd::resolveMessage("urn:uuid:r1", endpoint));
    const XmlElement* address = resolve.path(wsd::SoapNs, {"Body"});
    address = address ? address->path(wsd::DiscoveryNs, {"Resolve"}) : nullptr;
    address = address ? address->path(wsd::AddressingNs, {"EndpointReference", "Address"}) : nullptr;
    ASSERT_TRUE(address);
    EXPECT_EQ(address->text, endpoint);

    const XmlElement get = read(wsd::metadataGetMessage("urn:uuid:g1", endpoint, "urn:uuid:me"));
    EXPECT_EQ(headerText(get, "To"), endpoint);
    EXPECT_EQ(headerText(get, "Action"), "http://schemas.xmlsoap.org/ws/2004/09/transfer/Get");
    const XmlElement* header = get.path(wsd::SoapNs, {"Header"});
    ASSERT_TRUE(header);
    const XmlElement* replyTo = header->path(wsd::AddressingNs, {"ReplyTo", "Address"});
    const XmlElement* from = header->path(wsd::AddressingNs, {"From", "Address"});
    ASSERT_TRUE(replyTo && from);
    EXPECT_EQ(replyTo->text, "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous");
    EXPECT_EQ(from->text, "urn:uuid:me");
    const XmlElement* body = get.child(wsd::SoapNs, "Body");
    ASSERT_TRUE(body);
    EXPECT_TRUE(body->children.empty());
}

TEST(WsDiscoveryMessages, ReadsProbeAndResolveMatches)
{
    QString error;
    // A Windows host: the transport addresses in the match, IPv4 and IPv6.
    auto reply = wsd::readDiscoveryReply(
        test::probeMatches("urn:uuid:m1", "urn:uuid:p1", " urn:uuid:dev1 ",
                           {"http://192.168.1.20:5357/dev1", "http://[fe80::1]:5357/dev1"}),
        &error);
    ASSERT_TRUE(reply) << error.toStdString();
    EXPECT_EQ(reply->kind, wsd::DiscoveryReply::Kind::ProbeMatches);
    EXPECT_EQ(reply->messageId, "urn:uuid:m1");
    EXPECT_EQ(reply->relatesTo, "urn:uuid:p1");
    ASSERT_EQ(reply->matches.size(), 1u);
    EXPECT_EQ(reply->matches[0].endpoint, "urn:uuid:dev1");
    EXPECT_EQ(reply->matches[0].xaddrs,
              QStringList({"http://192.168.1.20:5357/dev1", "http://[fe80::1]:5357/dev1"}));

    // A host that leaves the addresses for the Resolve.
    reply = wsd::readDiscoveryReply(test::probeMatches("urn:uuid:m2", "urn:uuid:p1", "urn:uuid:dev2"), &error);
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->matches.size(), 1u);
    EXPECT_TRUE(reply->matches[0].xaddrs.isEmpty());

    reply = wsd::readDiscoveryReply(
        test::resolveMatches("urn:uuid:m3", "urn:uuid:r1", "urn:uuid:dev2", {"http://10.0.0.2:5357/x"}), &error);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->kind, wsd::DiscoveryReply::Kind::ResolveMatches);
    ASSERT_EQ(reply->matches.size(), 1u);
    EXPECT_EQ(reply->matches[0].xaddrs, QStringList({"http://10.0.0.2:5357/x"}));

    // Another host's probe, seen on the wire, is no answer.
    reply = wsd::readDiscoveryReply(wsd::probeMessage("urn:uuid:other"), &error);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->kind, wsd::DiscoveryReply::Kind::Other);
}

TEST(DeviceMetadata, TheComputerNameIsThePartBeforeTheFirstSeparator)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {"ALPHA/Workgroup:WORKGROUP", "ALPHA"},
        {"bravo/Domain:corp.example", "bravo"},
        {"CHARLIE\\NotJoined", "CHARLIE"},
        {"DELTA\\Workgroup:WG/x", "DELTA"},
        {"  ECHO  ", "ECHO"},
        {"/Workgroup:WG", ""},
    };
    for (const auto& [value, name] : cases)
        EXPECT_EQ(computerNameOf(value), name) << value.toStdString();
}

TEST(DeviceMetadata, NameFromPubComputerInEachFormElseFriendlyName)
{
    struct Case {
        QString sections;
        QString name;
    };
    const std::vector<Case> cases = {
        {thisDeviceSection("Device ALPHA") + relationshipSection("ALPHA/Workgroup:WORKGROUP"), "ALPHA"},
        {relationshipSection("BRAVO/Domain:CORP") + thisDeviceSection("Device BRAVO"), "BRAVO"},
        {relationshipSection("CHARLIE\\NotJoined"), "CHARLIE"},
        {thisDeviceSection("  Printer 7  "), "Printer 7"},
        // An empty pub:Computer names nothing; the friendly name still does.
        {relationshipSection("") + thisDeviceSection("ECHO"), "ECHO"},
    };
    for (const Case& c : cases) {
        QString error;
        const std::optional<QString> name = computerNameFromMetadata(metadataReply(c.sections), &error);
        ASSERT_TRUE(name) << c.name.toStdString() << ": " << error.toStdString();
        EXPECT_EQ(*name, c.name);
    }
    QString error;
    EXPECT_FALSE(computerNameFromMetadata(metadataReply(""), &error));
    EXPECT_FALSE(error.isEmpty());
}

// Answers come from anyone on the segment: each of these is refused with a
// reason, and nothing is expanded or read from elsewhere.
TEST(WsDiscoveryMessages, HostileXmlIsRefused)
{
    const QByteArray lol = R"(<?xml version="1.0"?><!DOCTYPE e [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">]>)";
    QByteArray deep;
    for (int i = 0; i < 200; ++i)
        deep += "<a>";
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"entity expansion", lol + test::probeMatches("urn:uuid:m", "urn:uuid:p", "&c;")},
        {"external entity", R"(<?xml version="1.0"?><!DOCTYPE e [<!ENTITY x SYSTEM "file:///etc/passwd">]><e>&x;</e>)"},
        {"undeclared entity", test::probeMatches("urn:uuid:m", "urn:uuid:p", "&nothere;")},
        {"too deep", deep},
        {"too large", test::probeMatches("urn:uuid:m", "urn:uuid:p", QString(70000, QLatin1Char('x')))},
        {"malformed", "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Header>"},
        {"not an envelope", "<Envelope><Header/><Body/></Envelope>"},
        {"empty", ""},
    };
    for (const auto& [what, xml] : cases) {
        QString error;
        EXPECT_FALSE(wsd::readDiscoveryReply(xml, &error)) << what;
        EXPECT_FALSE(error.isEmpty()) << what;
        error.clear();
        EXPECT_FALSE(computerNameFromMetadata(xml, &error)) << what;
        EXPECT_FALSE(error.isEmpty()) << what;
    }
    // Metadata may be larger than a datagram, but not without bound.
    QString error;
    EXPECT_FALSE(computerNameFromMetadata(metadataReply(thisDeviceSection(QString(300000, QLatin1Char('n')))), &error));
    EXPECT_TRUE(error.contains("larger")) << error.toStdString();
}

} // namespace
} // namespace vorlu
