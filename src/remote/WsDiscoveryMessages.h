#pragma once
#include "remote/SoapNames.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vorlu::wsd {

inline constexpr char GroupV4[] = "239.255.255.250";
inline constexpr quint16 Port = 3702;

using soap::AddressingNs;
using soap::SoapNs;
inline constexpr char DiscoveryNs[] = "http://schemas.xmlsoap.org/ws/2005/04/discovery";
inline constexpr char DevprofNs[] = "http://schemas.xmlsoap.org/ws/2006/02/devprof";
inline constexpr char MexNs[] = "http://schemas.xmlsoap.org/ws/2004/09/mex";
inline constexpr char PubNs[] = "http://schemas.microsoft.com/windows/pub/2005/07";

// A fresh "urn:uuid:..." for a message or for this client.
QString newUrnUuid();

QByteArray probeMessage(const QString& messageId);
QByteArray resolveMessage(const QString& messageId, const QString& endpoint);
// The transfer Get that asks a device at its XAddr for its metadata.
QByteArray metadataGetMessage(const QString& messageId, const QString& endpoint, const QString& from);

struct DiscoveryMatch {
    QString endpoint;   // wsa:EndpointReference/wsa:Address
    QStringList xaddrs; // may be empty: then the endpoint is resolved
};

struct DiscoveryReply {
    enum class Kind { ProbeMatches, ResolveMatches, Other };
    Kind kind = Kind::Other;
    QString messageId;
    QString relatesTo;
    std::vector<DiscoveryMatch> matches;
};

// Reads one datagram. Nothing, with the reason, for what is not a SOAP
// envelope or is refused by the XML limits; a reply of another action reads
// as Kind::Other.
std::optional<DiscoveryReply> readDiscoveryReply(const QByteArray& datagram, QString* error);

} // namespace vorlu::wsd
