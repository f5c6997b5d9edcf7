#include "remote/WsDiscoveryMessages.h"

#include "remote/DiscoveryXml.h"

#include <QUuid>
#include <QXmlStreamWriter>

namespace vorlu::wsd {

namespace {

constexpr char DiscoveryTo[] = "urn:schemas-xmlsoap-org:ws:2005:04:discovery";
const QString ProbeMatchesAction = QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches");
const QString ResolveMatchesAction = QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery/ResolveMatches");

// One envelope writer for every message: the header, then the body that
// writeBody adds.
template <typename Body>
QByteArray envelope(const QString& to, const QString& action, const QString& messageId, const QString& from,
                    Body writeBody)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeNamespace(SoapNs, "soap");
    w.writeNamespace(AddressingNs, "wsa");
    w.writeNamespace(DiscoveryNs, "wsd");
    w.writeNamespace(DevprofNs, "wsdp");
    w.writeStartElement(SoapNs, "Envelope");
    w.writeStartElement(SoapNs, "Header");
    w.writeTextElement(AddressingNs, "To", to);
    w.writeTextElement(AddressingNs, "Action", action);
    w.writeTextElement(AddressingNs, "MessageID", messageId);
    if (!from.isEmpty()) {
        w.writeStartElement(AddressingNs, "ReplyTo");
        w.writeTextElement(AddressingNs, "Address", soap::AnonymousAddress);
        w.writeEndElement();
        w.writeStartElement(AddressingNs, "From");
        w.writeTextElement(AddressingNs, "Address", from);
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeStartElement(SoapNs, "Body");
    writeBody(w);
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

std::vector<DiscoveryMatch> readMatches(const XmlElement& list, const char* matchName)
{
    std::vector<DiscoveryMatch> matches;
    for (const XmlElement& m : list.children) {
        if (!m.is(DiscoveryNs, matchName))
            continue;
        DiscoveryMatch match;
        if (const XmlElement* a = m.path(AddressingNs, {"EndpointReference", "Address"}))
            match.endpoint = a->trimmedText();
        if (const XmlElement* x = m.child(DiscoveryNs, "XAddrs"))
            match.xaddrs = x->text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        matches.push_back(std::move(match));
    }
    return matches;
}

} // namespace

QString newUrnUuid() { return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces); }

QByteArray probeMessage(const QString& messageId)
{
    return envelope(DiscoveryTo, QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe"), messageId,
                    {}, [](QXmlStreamWriter& w) {
                        w.writeStartElement(DiscoveryNs, "Probe");
                        // Hosts compare this text as it stands, prefix included.
                        w.writeTextElement(DiscoveryNs, "Types", "wsdp:Device");
                        w.writeEndElement();
                    });
}

QByteArray resolveMessage(const QString& messageId, const QString& endpoint)
{
    return envelope(DiscoveryTo, QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery/Resolve"),
                    messageId, {}, [&](QXmlStreamWriter& w) {
                        w.writeStartElement(DiscoveryNs, "Resolve");
                        w.writeStartElement(AddressingNs, "EndpointReference");
                        w.writeTextElement(AddressingNs, "Address", endpoint);
                        w.writeEndElement();
                        w.writeEndElement();
                    });
}

QByteArray metadataGetMessage(const QString& messageId, const QString& endpoint, const QString& from)
{
    return envelope(endpoint, QStringLiteral("http://schemas.xmlsoap.org/ws/2004/09/transfer/Get"), messageId, from,
                    [](QXmlStreamWriter&) {});
}

std::optional<DiscoveryReply> readDiscoveryReply(const QByteArray& datagram, QString* error)
{
    XmlLimits limits;
    const std::optional<XmlElement> doc = readBoundedXml(datagram, limits, error);
    if (!doc)
        return std::nullopt;
    const XmlElement* header = doc->is(SoapNs, "Envelope") ? doc->child(SoapNs, "Header") : nullptr;
    const XmlElement* body = header ? doc->child(SoapNs, "Body") : nullptr;
    if (!body)
        return refused(error, QStringLiteral("the answer is not a SOAP envelope"));
    DiscoveryReply reply;
    if (const XmlElement* id = header->child(AddressingNs, "MessageID"))
        reply.messageId = id->trimmedText();
    if (const XmlElement* rel = header->child(AddressingNs, "RelatesTo"))
        reply.relatesTo = rel->trimmedText();
    QString action;
    if (const XmlElement* a = header->child(AddressingNs, "Action"))
        action = a->trimmedText();
    if (action == ProbeMatchesAction) {
        if (const XmlElement* list = body->child(DiscoveryNs, "ProbeMatches")) {
            reply.kind = DiscoveryReply::Kind::ProbeMatches;
            reply.matches = readMatches(*list, "ProbeMatch");
        }
    } else if (action == ResolveMatchesAction) {
        if (const XmlElement* list = body->child(DiscoveryNs, "ResolveMatches")) {
            reply.kind = DiscoveryReply::Kind::ResolveMatches;
            reply.matches = readMatches(*list, "ResolveMatch");
        }
    }
    return reply;
}

} // namespace vorlu::wsd
