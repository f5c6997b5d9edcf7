#pragma once
#include "remote/DiscoveryXml.h"
#include "remote/WsDiscoveryMessages.h"
#include "remote/WsDiscoveryOptions.h"

#include "remote/DiscoveryReplies.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <map>
#include <memory>
#include <vector>

namespace vorlu::test {

// Hosts that answer discovery on loopback: the probe is sent to the
// responder's own port instead of the multicast group, which needs neither
// root nor a namespace. Each host answers every copy of a probe with a fresh
// message, sent twice, and serves its metadata over HTTP.
class LoopbackHosts {
public:
    enum class Http { Answer, Silent, Hostile, Huge };
    struct Host {
        QString endpoint;
        QString metadataSections;
        bool xaddrsInMatch = true; // else only the Resolve gives them
        Http http = Http::Answer;
        bool servedElsewhere = false; // its XAddr is on 127.0.0.2, not where it answers discovery from
    };

    explicit LoopbackHosts(std::vector<Host> hosts) : hosts_(std::move(hosts))
    {
        udp_.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&udp_, &QUdpSocket::readyRead, [this] { answerDatagrams(); });
        http_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&http_, &QTcpServer::newConnection, [this] { acceptHttp(http_); });
        elsewhere_.listen(QHostAddress(QStringLiteral("127.0.0.2")), 0);
        QObject::connect(&elsewhere_, &QTcpServer::newConnection, [this] { acceptHttp(elsewhere_); });
    }

    // Options that probe these hosts; the timing stays the caller's.
    WsDiscoveryOptions options(WsDiscoveryTiming timing = {}) const
    {
        WsDiscoveryOptions o;
        o.group = QHostAddress::LocalHost;
        o.port = udp_.localPort();
        o.interfaces = {QStringLiteral("lo")};
        o.timing = timing;
        return o;
    }

    int probesSeen = 0;
    int resolvesSeen = 0;
    int getsSeen = 0;
    // Sent once per probe, before the hosts answer: a match for someone else's probe.
    QString strayEndpoint;

private:
    QString xaddr(std::size_t i) const
    {
        const QTcpServer& server = i < hosts_.size() && hosts_[i].servedElsewhere ? elsewhere_ : http_;
        return QStringLiteral("http://%1:%2/host%3")
            .arg(server.serverAddress().toString())
            .arg(server.serverPort())
            .arg(i);
    }

    void send(const QNetworkDatagram& to, const QByteArray& message)
    {
        // Twice, as hosts repeat their unicast answers.
        udp_.writeDatagram(message, to.senderAddress(), static_cast<quint16>(to.senderPort()));
        udp_.writeDatagram(message, to.senderAddress(), static_cast<quint16>(to.senderPort()));
    }

    void answerDatagrams()
    {
        while (udp_.hasPendingDatagrams()) {
            const QNetworkDatagram d = udp_.receiveDatagram();
            const std::optional<XmlElement> doc = readBoundedXml(d.data(), XmlLimits{}, nullptr);
            const XmlElement* header = doc ? doc->child(wsd::SoapNs, "Header") : nullptr;
            const XmlElement* action = header ? header->child(wsd::AddressingNs, "Action") : nullptr;
            const XmlElement* id = header ? header->child(wsd::AddressingNs, "MessageID") : nullptr;
            if (!action || !id)
                continue;
            const QString relatesTo = id->trimmedText();
            if (action->text.endsWith(QLatin1String("/Probe"))) {
                ++probesSeen;
                if (!strayEndpoint.isEmpty())
                    send(d, probeMatches(wsd::newUrnUuid(), wsd::newUrnUuid(), strayEndpoint, {xaddr(99)}));
                for (std::size_t i = 0; i < hosts_.size(); ++i)
                    send(d, probeMatches(wsd::newUrnUuid(), relatesTo, hosts_[i].endpoint,
                                         hosts_[i].xaddrsInMatch ? QStringList{xaddr(i)} : QStringList{}));
            } else if (action->text.endsWith(QLatin1String("/Resolve"))) {
                ++resolvesSeen;
                const XmlElement* body = doc->child(wsd::SoapNs, "Body");
                const XmlElement* address =
                    body ? body->path(wsd::DiscoveryNs, {"Resolve"}) : nullptr;
                address = address ? address->path(wsd::AddressingNs, {"EndpointReference", "Address"}) : nullptr;
                for (std::size_t i = 0; address && i < hosts_.size(); ++i)
                    if (hosts_[i].endpoint == address->trimmedText())
                        send(d, resolveMatches(wsd::newUrnUuid(), relatesTo, hosts_[i].endpoint, {xaddr(i)}));
            }
        }
    }

    void acceptHttp(QTcpServer& server)
    {
        while (QTcpSocket* s = server.nextPendingConnection()) {
            s->setParent(&server);
            QObject::connect(s, &QTcpSocket::readyRead, [this, s] { answerHttp(*s); });
        }
    }

    void answerHttp(QTcpSocket& s)
    {
        QByteArray& got = requests_[&s];
        got += s.readAll();
        const qsizetype headEnd = got.indexOf("\r\n\r\n");
        const qsizetype lengthAt = got.toLower().indexOf("content-length:");
        if (headEnd < 0 || lengthAt < 0)
            return;
        const qsizetype length = got.mid(lengthAt + 15, got.indexOf("\r\n", lengthAt) - lengthAt - 15).trimmed().toLongLong();
        if (got.size() < headEnd + 4 + length)
            return;
        ++getsSeen;
        const QByteArray path = got.mid(5, got.indexOf(' ', 5) - 5);
        const std::size_t i = path.mid(5).toULong();
        if (i >= hosts_.size())
            return;
        const Host& h = hosts_[i];
        QByteArray body;
        switch (h.http) {
        case Http::Silent:
            return; // holds the connection open and never answers
        case Http::Answer:
            body = metadataReply(h.metadataSections);
            break;
        case Http::Hostile:
            body = R"(<?xml version="1.0"?><!DOCTYPE e [<!ENTITY a "x">]><e>&a;</e>)";
            break;
        case Http::Huge:
            body = metadataReply(thisDeviceSection(QString(400000, QLatin1Char('h'))));
            break;
        }
        // Like wsdd: HTTP/1.0, no length, the end of the body is the close.
        s.write("HTTP/1.0 200 OK\r\nContent-Type: application/soap+xml\r\n\r\n" + body);
        s.disconnectFromHost();
    }

    std::vector<Host> hosts_;
    QUdpSocket udp_;
    QTcpServer http_;
    QTcpServer elsewhere_;
    std::map<QTcpSocket*, QByteArray> requests_;
};

} // namespace vorlu::test
