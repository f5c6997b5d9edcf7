#pragma once
#include "platform/ServerEnumerator.h"
#include "remote/AnnouncedAddresses.h"
#include "remote/MetadataRequest.h"
#include "remote/WsDiscoveryMessages.h"
#include "remote/WsDiscoveryOptions.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUdpSocket>

#include <memory>
#include <optional>
#include <vector>

namespace vorlu {

// An interface to probe on and the IPv4 address its socket is bound to.
struct ProbeInterface {
    QNetworkInterface interface;
    QHostAddress address;
};

// One scan: the sockets, timers, devices found and the requests under way.
// Lives on the thread that starts it and is driven by that thread's events.
class WsDiscoverySession : public QObject {
    Q_OBJECT
public:
    WsDiscoverySession(const WsDiscoveryOptions& options, std::vector<ProbeInterface> interfaces);
    ~WsDiscoverySession() override;

    void start();
    bool done() const { return done_; }
    // The outcome once done; throws EnumerationFailure for a failure that
    // has no platform code.
    EnumerationAnswer answer() const;
    // Enters the IPv4 address each listed computer gave its name from.
    void recordAddresses(AnnouncedAddresses& book) const;

private:
    struct Link {
        ProbeInterface where;
        std::unique_ptr<QUdpSocket> socket;
        bool usable = false;
    };
    struct Device {
        QString endpoint;
        std::size_t link = 0;
        QHostAddress from;
        QString resolveId;
        QUrl xaddr;
        std::unique_ptr<MetadataRequest> request;
        QString name;
        QHostAddress namedFrom; // the address its metadata came from
        bool open = true; // still resolving, queued or fetching
    };

    void openLinks();
    void sendProbe(int sent);
    void readDatagrams(std::size_t link);
    void takeReply(std::size_t link, const QHostAddress& from, const QByteArray& datagram);
    void addDevice(std::size_t link, const QHostAddress& from, const wsd::DiscoveryMatch& match);
    void resolve(std::size_t device);
    void queueFetch(std::size_t device, const QStringList& xaddrs);
    void startQueued();
    void fetched(std::size_t device, const QByteArray& body, const QString& error);
    void close(std::size_t device);
    void finishIfQuiet();
    void finish();
    // The devices whose names the answer lists, in its order.
    std::vector<const Device*> listed() const;

    WsDiscoveryOptions options_;
    std::vector<Link> links_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::vector<std::size_t> queue_;
    QSet<QString> endpoints_;
    QSet<QString> messageIds_;
    QString probeId_;
    QString clientId_;
    QTimer listenTimer_;
    QTimer deadlineTimer_;
    int running_ = 0;
    int openDevices_ = 0;
    bool listening_ = false;
    bool done_ = false;
    std::optional<std::uint32_t> failureCode_;
    bool failedWithoutCode_ = false;
};

} // namespace vorlu
