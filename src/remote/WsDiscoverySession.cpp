#include "remote/WsDiscoverySession.h"

#include "platform/Log.h"
#include "remote/DeviceMetadata.h"

#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QVariant>

namespace vorlu {

namespace {

// A segment with more devices than this is flooding us.
constexpr std::size_t MaxDevices = 1024;
constexpr qint64 MaxDatagram = 65536;

// The platform code a socket failure stands for, none when it says nothing
// about the network.
std::optional<std::uint32_t> codeFor(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::SocketAccessError:
        return AccessDeniedCode;
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::SocketAddressNotAvailableError:
        return NoNetworkCode;
    default:
        return std::nullopt;
    }
}

std::chrono::milliseconds randomGap(const WsDiscoveryTiming& t)
{
    const qint64 low = t.minGap.count();
    const qint64 high = std::max(low, qint64(t.maxGap.count()));
    return std::chrono::milliseconds(QRandomGenerator::global()->bounded(low, high + 1));
}

// The device's own address first: an XAddr elsewhere is used only when it
// offers none on the host that answered.
std::optional<QUrl> chooseXAddr(const QStringList& xaddrs, const QHostAddress& from)
{
    std::optional<QUrl> fallback;
    for (const QString& x : xaddrs) {
        QUrl url(x, QUrl::StrictMode);
        if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty())
            continue;
        if (QHostAddress(url.host()).isEqual(from, QHostAddress::TolerantConversion))
            return url;
        if (!fallback)
            fallback = url;
    }
    return fallback;
}

// A computer name has no control characters and is short; a device that
// sends otherwise names nothing the node table can hold.
bool plausibleName(const QString& name)
{
    constexpr qsizetype MaxName = 255;
    if (name.size() > MaxName)
        return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

} // namespace

WsDiscoverySession::WsDiscoverySession(const WsDiscoveryOptions& options, std::vector<ProbeInterface> interfaces)
    : options_(options), probeId_(wsd::newUrnUuid()), clientId_(wsd::newUrnUuid())
{
    for (ProbeInterface& where : interfaces)
        links_.push_back(Link{std::move(where), nullptr, false});
    listenTimer_.setSingleShot(true);
    deadlineTimer_.setSingleShot(true);
    // The deadline is a promise to the user; a coarse timer may be 5 % late.
    deadlineTimer_.setTimerType(Qt::PreciseTimer);
    connect(&listenTimer_, &QTimer::timeout, this, [this] {
        listening_ = false;
        finishIfQuiet();
    });
    connect(&deadlineTimer_, &QTimer::timeout, this, [this] {
        if (openDevices_ > 0)
            qCInfo(lcNetwork, "WS-Discovery: %d device(s) gave no name before the scan's deadline", openDevices_);
        finish();
    });
}

WsDiscoverySession::~WsDiscoverySession()
{
    for (auto& d : devices_)
        if (d->request)
            d->request->disconnect(this);
}

void WsDiscoverySession::start()
{
    openLinks();
    if (done_)
        return;
    listening_ = true;
    listenTimer_.start(options_.timing.listen);
    deadlineTimer_.start(options_.timing.deadline);
    sendProbe(0);
}

void WsDiscoverySession::openLinks()
{
    std::optional<QAbstractSocket::SocketError> lastError;
    for (std::size_t i = 0; i < links_.size(); ++i) {
        Link& link = links_[i];
        link.socket = std::make_unique<QUdpSocket>();
        QUdpSocket& s = *link.socket;
        if (!s.bind(link.where.address, 0)) {
            qCWarning(lcNetwork, "WS-Discovery: no socket on %s (%s): %s", qPrintable(link.where.interface.name()),
                      qPrintable(link.where.address.toString()), qPrintable(s.errorString()));
            lastError = s.error();
            continue;
        }
        s.setMulticastInterface(link.where.interface);
        s.setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(1));
        connect(&s, &QUdpSocket::readyRead, this, [this, i] { readDatagrams(i); });
        link.usable = true;
    }
    for (const Link& link : links_)
        if (link.usable)
            return;
    if (lastError)
        failureCode_ = codeFor(*lastError);
    failedWithoutCode_ = !failureCode_;
    done_ = true;
}

void WsDiscoverySession::sendProbe(int sent)
{
    if (done_)
        return;
    const QByteArray probe = wsd::probeMessage(probeId_);
    std::optional<QAbstractSocket::SocketError> lastError;
    bool anySent = false;
    for (Link& link : links_) {
        if (!link.usable)
            continue;
        if (link.socket->writeDatagram(probe, options_.group, options_.port) == probe.size()) {
            anySent = true;
            continue;
        }
        lastError = link.socket->error();
        qCWarning(lcNetwork, "WS-Discovery: the probe on %s failed: %s", qPrintable(link.where.interface.name()),
                  qPrintable(link.socket->errorString()));
        // Only the first probe decides; a later one lost on the way is just lost.
        if (sent == 0)
            link.usable = false;
    }
    if (sent == 0 && !anySent) {
        failureCode_ = lastError ? codeFor(*lastError) : std::nullopt;
        failedWithoutCode_ = !failureCode_;
        finish();
        return;
    }
    if (sent + 1 < options_.timing.probeSends)
        QTimer::singleShot(randomGap(options_.timing), this, [this, sent] { sendProbe(sent + 1); });
}

void WsDiscoverySession::readDatagrams(std::size_t link)
{
    QUdpSocket& s = *links_[link].socket;
    while (s.hasPendingDatagrams()) {
        const QNetworkDatagram d = s.receiveDatagram(MaxDatagram);
        if (!done_ && d.isValid())
            takeReply(link, d.senderAddress(), d.data());
    }
}

void WsDiscoverySession::takeReply(std::size_t link, const QHostAddress& from, const QByteArray& datagram)
{
    QString error;
    const std::optional<wsd::DiscoveryReply> reply = wsd::readDiscoveryReply(datagram, &error);
    if (!reply) {
        qCDebug(lcNetwork, "WS-Discovery: ignored an answer from %s: %s", qPrintable(from.toString()),
                qPrintable(error));
        return;
    }
    // Answers are sent more than once; only the first copy counts.
    if (!reply->messageId.isEmpty()) {
        if (messageIds_.contains(reply->messageId))
            return;
        messageIds_.insert(reply->messageId);
    }
    using Kind = wsd::DiscoveryReply::Kind;
    if (reply->kind == Kind::ProbeMatches && listening_ && reply->relatesTo == probeId_) {
        for (const wsd::DiscoveryMatch& m : reply->matches)
            addDevice(link, from, m);
        return;
    }
    if (reply->kind != Kind::ResolveMatches || reply->relatesTo.isEmpty())
        return;
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        Device& d = *devices_[i];
        if (!d.open || d.request || d.resolveId != reply->relatesTo)
            continue;
        for (const wsd::DiscoveryMatch& m : reply->matches)
            if (m.endpoint == d.endpoint && !m.xaddrs.isEmpty()) {
                d.from = from;
                queueFetch(i, m.xaddrs);
                return;
            }
    }
}

void WsDiscoverySession::addDevice(std::size_t link, const QHostAddress& from, const wsd::DiscoveryMatch& match)
{
    if (match.endpoint.isEmpty() || endpoints_.contains(match.endpoint))
        return;
    if (devices_.size() >= MaxDevices) {
        qCWarning(lcNetwork, "WS-Discovery: more than %zu devices answered; the rest are ignored", MaxDevices);
        return;
    }
    endpoints_.insert(match.endpoint);
    auto device = std::make_unique<Device>();
    device->endpoint = match.endpoint;
    device->link = link;
    device->from = from;
    devices_.push_back(std::move(device));
    ++openDevices_;
    const std::size_t index = devices_.size() - 1;
    if (match.xaddrs.isEmpty())
        resolve(index);
    else
        queueFetch(index, match.xaddrs);
}

void WsDiscoverySession::resolve(std::size_t device)
{
    Device& d = *devices_[device];
    d.resolveId = wsd::newUrnUuid();
    const QByteArray message = wsd::resolveMessage(d.resolveId, d.endpoint);
    QUdpSocket* socket = links_[d.link].socket.get();
    const auto send = [this, socket, message] {
        if (!done_)
            socket->writeDatagram(message, options_.group, options_.port);
    };
    send();
    // Sent twice, like every multicast of this protocol.
    QTimer::singleShot(randomGap(options_.timing), this, send);
    QTimer::singleShot(options_.timing.request, this, [this, device] {
        Device& late = *devices_[device];
        if (late.open && !late.request && late.xaddr.isEmpty()) {
            qCInfo(lcNetwork, "WS-Discovery: %s did not resolve in time", qPrintable(late.endpoint));
            close(device);
        }
    });
}

void WsDiscoverySession::queueFetch(std::size_t device, const QStringList& xaddrs)
{
    Device& d = *devices_[device];
    const std::optional<QUrl> url = chooseXAddr(xaddrs, d.from);
    if (!url) {
        qCInfo(lcNetwork, "WS-Discovery: %s offers no http address", qPrintable(d.endpoint));
        close(device);
        return;
    }
    d.xaddr = *url;
    queue_.push_back(device);
    startQueued();
}

void WsDiscoverySession::startQueued()
{
    while (!done_ && !queue_.empty() && running_ < options_.maxParallelRequests) {
        const std::size_t index = queue_.front();
        queue_.erase(queue_.begin());
        Device& d = *devices_[index];
        d.request = std::make_unique<MetadataRequest>(
            d.xaddr, wsd::metadataGetMessage(wsd::newUrnUuid(), d.endpoint, clientId_), options_.timing.request);
        connect(d.request.get(), &MetadataRequest::finished, this,
                [this, index](const QByteArray& body, const QString& error) { fetched(index, body, error); });
        ++running_;
        d.request->start();
    }
}

void WsDiscoverySession::fetched(std::size_t device, const QByteArray& body, const QString& error)
{
    --running_;
    Device& d = *devices_[device];
    QString why = error;
    if (why.isEmpty()) {
        if (const std::optional<QString> name = computerNameFromMetadata(body, &why)) {
            if (plausibleName(*name)) {
                d.name = *name;
                d.namedFrom = d.request->peerAddress();
            }
            else
                why = QStringLiteral("the name it gives is no computer name");
        }
    }
    if (d.name.isEmpty())
        qCInfo(lcNetwork, "WS-Discovery: no name from %s: %s", qPrintable(d.xaddr.toString()), qPrintable(why));
    close(device);
    startQueued();
}

void WsDiscoverySession::close(std::size_t device)
{
    Device& d = *devices_[device];
    if (!d.open)
        return;
    d.open = false;
    --openDevices_;
    finishIfQuiet();
}

void WsDiscoverySession::finishIfQuiet()
{
    if (!listening_ && openDevices_ == 0)
        finish();
}

void WsDiscoverySession::finish()
{
    if (done_)
        return;
    done_ = true;
    listenTimer_.stop();
    deadlineTimer_.stop();
    for (auto& d : devices_)
        if (d->request)
            d->request->disconnect(this);
    for (auto& d : devices_)
        if (d->request)
            d->request->abort(QStringLiteral("the scan ended"));
    for (Link& link : links_)
        if (link.socket)
            link.socket->close();
}

EnumerationAnswer WsDiscoverySession::answer() const
{
    if (failedWithoutCode_)
        throw EnumerationFailure{};
    EnumerationAnswer out;
    if (failureCode_) {
        out.code = *failureCode_;
        return out;
    }
    for (const Device* d : listed())
        out.names.push_back(d->name.toStdString());
    return out;
}

void WsDiscoverySession::recordAddresses(AnnouncedAddresses& book) const
{
    if (failedWithoutCode_ || failureCode_)
        return;
    for (const Device* d : listed()) {
        bool ipv4 = false;
        const quint32 address = d->namedFrom.toIPv4Address(&ipv4);
        if (ipv4)
            book.remember(d->name.toStdString(), {static_cast<std::uint8_t>(address >> 24),
                                                  static_cast<std::uint8_t>(address >> 16),
                                                  static_cast<std::uint8_t>(address >> 8),
                                                  static_cast<std::uint8_t>(address)});
    }
}

std::vector<const WsDiscoverySession::Device*> WsDiscoverySession::listed() const
{
    std::vector<const Device*> out;
    QSet<QString> names;
    for (const auto& d : devices_) {
        if (d->name.isEmpty())
            continue;
        // Computer names do not differ by letter case alone.
        const QString key = d->name.toCaseFolded();
        if (names.contains(key))
            continue;
        names.insert(key);
        out.push_back(d.get());
    }
    return out;
}

} // namespace vorlu
