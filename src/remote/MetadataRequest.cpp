#include "remote/MetadataRequest.h"

#include <QTcpSocket>

namespace vorlu {

namespace {

HttpReplyState failed(const QString& why)
{
    HttpReplyState s;
    s.status = HttpReplyState::Status::Failed;
    s.error = why;
    return s;
}

HttpReplyState done(QByteArray body)
{
    HttpReplyState s;
    s.status = HttpReplyState::Status::Done;
    s.body = std::move(body);
    return s;
}

// Decodes a chunked body; Incomplete until its last chunk has arrived.
HttpReplyState readChunked(const QByteArray& raw, qsizetype at)
{
    QByteArray body;
    while (true) {
        const qsizetype lineEnd = raw.indexOf("\r\n", at);
        if (lineEnd < 0)
            return {};
        QByteArray sizeText = raw.mid(at, lineEnd - at);
        if (const qsizetype ext = sizeText.indexOf(';'); ext >= 0)
            sizeText.truncate(ext);
        bool ok = false;
        const qlonglong size = sizeText.trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0)
            return failed(QStringLiteral("the device sent a malformed chunked reply"));
        at = lineEnd + 2;
        if (size == 0)
            return done(body);
        if (raw.size() - at < size + 2)
            return {};
        body += raw.mid(at, size);
        at += size + 2;
    }
}

} // namespace

HttpReplyState readHttpReply(const QByteArray& raw, bool closed, qsizetype maxBytes)
{
    if (raw.size() > maxBytes)
        return failed(QStringLiteral("the device's reply is larger than %1 bytes").arg(maxBytes));
    const qsizetype headEnd = raw.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return closed ? failed(QStringLiteral("the device closed the connection before its reply was complete"))
                      : HttpReplyState{};
    const QList<QByteArray> lines = raw.left(headEnd).split('\n');
    const QList<QByteArray> status = lines.first().trimmed().split(' ');
    if (status.size() < 2 || !status[0].startsWith("HTTP/1."))
        return failed(QStringLiteral("the device's reply is not HTTP"));
    if (status[1] != "200")
        return failed(QStringLiteral("the device answered HTTP %1").arg(QString::fromLatin1(status[1].left(3))));
    qlonglong length = -1;
    bool chunked = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (key == "content-length") {
            bool ok = false;
            length = value.toLongLong(&ok);
            if (!ok || length < 0)
                return failed(QStringLiteral("the device sent a malformed Content-Length"));
        } else if (key == "transfer-encoding" && value.toLower().contains("chunked")) {
            chunked = true;
        }
    }
    const qsizetype bodyAt = headEnd + 4;
    HttpReplyState state;
    if (chunked)
        state = readChunked(raw, bodyAt);
    else if (length >= 0)
        state = raw.size() - bodyAt >= length ? done(raw.mid(bodyAt, length)) : HttpReplyState{};
    else if (closed)
        state = done(raw.mid(bodyAt));
    if (state.status == HttpReplyState::Status::Incomplete && closed)
        return failed(QStringLiteral("the device closed the connection before its reply was complete"));
    return state;
}

MetadataRequest::MetadataRequest(QUrl xaddr, QByteArray body, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), url_(std::move(xaddr)), body_(std::move(body)), timeout_(timeout)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { abort(QStringLiteral("the device did not answer in time")); });
}

MetadataRequest::~MetadataRequest()
{
    if (socket_)
        socket_->disconnect(this);
}

void MetadataRequest::start()
{
    if (url_.scheme() != QLatin1String("http") || url_.host().isEmpty()) {
        // Reported from the event loop, like every other outcome.
        QTimer::singleShot(0, this, [this] { end({}, QStringLiteral("the device's address is not an http address")); });
        return;
    }
    socket_ = std::make_unique<QTcpSocket>();
    connect(socket_.get(), &QTcpSocket::connected, this, [this] {
        QByteArray path = url_.path(QUrl::FullyEncoded).toLatin1();
        if (path.isEmpty())
            path = "/";
        if (url_.hasQuery())
            path += '?' + url_.query(QUrl::FullyEncoded).toLatin1();
        QByteArray request = "POST " + path + " HTTP/1.1\r\n";
        request += "Host: " + url_.authority(QUrl::FullyEncoded).toLatin1() + "\r\n";
        request += "Content-Type: application/soap+xml; charset=utf-8\r\n";
        request += "Content-Length: " + QByteArray::number(body_.size()) + "\r\n";
        request += "Connection: close\r\n\r\n";
        socket_->write(request + body_);
    });
    connect(socket_.get(), &QTcpSocket::readyRead, this, [this] { readMore(false); });
    connect(socket_.get(), &QTcpSocket::disconnected, this, [this] { readMore(true); });
    connect(socket_.get(), &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            return; // the end of a reply without a length; disconnected reads it
        end({}, socket_->errorString());
    });
    timer_.start(timeout_);
    socket_->connectToHost(url_.host(), static_cast<quint16>(url_.port(80)));
}

void MetadataRequest::readMore(bool closed)
{
    if (ended_)
        return;
    received_ += socket_->read(MaxReplyBytes + 1 - received_.size());
    const HttpReplyState state = readHttpReply(received_, closed, MaxReplyBytes);
    if (state.status == HttpReplyState::Status::Done)
        end(state.body, {});
    else if (state.status == HttpReplyState::Status::Failed)
        end({}, state.error);
}

void MetadataRequest::abort(const QString& reason) { end({}, reason); }

void MetadataRequest::end(const QByteArray& body, const QString& error)
{
    if (ended_)
        return;
    ended_ = true;
    timer_.stop();
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
    }
    emit finished(body, error);
}

} // namespace vorlu
