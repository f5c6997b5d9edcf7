#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vorlu::test {

// Discovery answers as hosts send them, for the tests to read and to send.
inline QByteArray discoveryEnvelope(const QString& action, const QString& messageId, const QString& relatesTo,
                                    const QString& body)
{
    return QStringLiteral(
               R"(<?xml version="1.0" encoding="utf-8"?>
<soap:Envelope xmlns:soap="http://www.w3.org/2003/05/soap-envelope" xmlns:wsa="http://schemas.xmlsoap.org/ws/2004/08/addressing" xmlns:wsd="http://schemas.xmlsoap.org/ws/2005/04/discovery" xmlns:wsdp="http://schemas.xmlsoap.org/ws/2006/02/devprof" xmlns:pub="http://schemas.microsoft.com/windows/pub/2005/07"><soap:Header><wsa:To>http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous</wsa:To><wsa:Action>%1</wsa:Action><wsa:MessageID>%2</wsa:MessageID><wsa:RelatesTo>%3</wsa:RelatesTo><wsd:AppSequence InstanceId="1" MessageNumber="1"/></soap:Header><soap:Body>%4</soap:Body></soap:Envelope>)")
        .arg(action, messageId, relatesTo, body)
        .toUtf8();
}

inline QString discoveryMatch(const char* element, const QString& endpoint, const QStringList& xaddrs)
{
    QString m = QStringLiteral("<wsd:%1><wsa:EndpointReference><wsa:Address>%2</wsa:Address></wsa:EndpointReference>"
                               "<wsd:Types>wsdp:Device pub:Computer</wsd:Types>")
                    .arg(QLatin1String(element), endpoint);
    if (!xaddrs.isEmpty())
        m += QStringLiteral("<wsd:XAddrs>%1</wsd:XAddrs>").arg(xaddrs.join(' '));
    return m + QStringLiteral("<wsd:MetadataVersion>1</wsd:MetadataVersion></wsd:%1>").arg(QLatin1String(element));
}

inline QByteArray probeMatches(const QString& messageId, const QString& relatesTo, const QString& endpoint,
                               const QStringList& xaddrs = {})
{
    return discoveryEnvelope(QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches"), messageId,
                             relatesTo,
                             "<wsd:ProbeMatches>" + discoveryMatch("ProbeMatch", endpoint, xaddrs) +
                                 "</wsd:ProbeMatches>");
}

inline QByteArray resolveMatches(const QString& messageId, const QString& relatesTo, const QString& endpoint,
                                 const QStringList& xaddrs)
{
    return discoveryEnvelope(QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery/ResolveMatches"),
                             messageId, relatesTo,
                             "<wsd:ResolveMatches>" + discoveryMatch("ResolveMatch", endpoint, xaddrs) +
                                 "</wsd:ResolveMatches>");
}

// A transfer Get reply holding the given metadata sections.
inline QByteArray metadataReply(const QString& sections)
{
    return discoveryEnvelope(QStringLiteral("http://schemas.xmlsoap.org/ws/2004/09/transfer/GetResponse"),
                             QStringLiteral("urn:uuid:reply"), QStringLiteral("urn:uuid:get"),
                             R"(<wsx:Metadata xmlns:wsx="http://schemas.xmlsoap.org/ws/2004/09/mex">)" + sections +
                                 "</wsx:Metadata>");
}

inline QString thisDeviceSection(const QString& friendlyName)
{
    return QStringLiteral(R"(<wsx:MetadataSection xmlns:wsx="http://schemas.xmlsoap.org/ws/2004/09/mex" Dialect="http://schemas.xmlsoap.org/ws/2006/02/devprof/ThisDevice"><wsdp:ThisDevice><wsdp:FriendlyName>%1</wsdp:FriendlyName><wsdp:FirmwareVersion>1.0</wsdp:FirmwareVersion></wsdp:ThisDevice></wsx:MetadataSection>)")
        .arg(friendlyName);
}

inline QString relationshipSection(const QString& pubComputer)
{
    return QStringLiteral(R"(<wsx:MetadataSection xmlns:wsx="http://schemas.xmlsoap.org/ws/2004/09/mex" Dialect="http://schemas.xmlsoap.org/ws/2006/02/devprof/Relationship"><wsdp:Relationship Type="http://schemas.xmlsoap.org/ws/2006/02/devprof/host"><wsdp:Host><wsa:EndpointReference><wsa:Address>urn:uuid:host</wsa:Address></wsa:EndpointReference><wsdp:Types>pub:Computer</wsdp:Types><wsdp:ServiceId>urn:uuid:host</wsdp:ServiceId><pub:Computer>%1</pub:Computer></wsdp:Host></wsdp:Relationship></wsx:MetadataSection>)")
        .arg(pubComputer);
}

} // namespace vorlu::test
