#include "remote/MetadataRequest.h"

#include "platform/Management.h"
#include "platform/TextCase.h"
#include "remote/HttpConnection.h"

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
HttpReplyState readChunked(const QByteArray& raw, qsizetype at, qsizetype maxBytes)
{
    const QString malformed = QStringLiteral("the device sent a malformed chunked reply");
    QByteArray body;
    while (true) {
        const qsizetype lineEnd = raw.indexOf("\r\n", at);
        if (lineEnd < 0)
            return {};
        const auto size =
            parseChunkSize(raw.mid(at, lineEnd - at).toStdString(), static_cast<std::size_t>(maxBytes));
        if (!size)
            return failed(malformed);
        at = lineEnd + 2;
        if (*size == 0)
            return done(body);
        const auto n = static_cast<qsizetype>(*size);
        if (raw.size() - at < n + 2)
            return {};
        if (raw.mid(at + n, 2) != "\r\n")
            return failed(malformed); // a chunk longer than its size
        body += raw.mid(at, n);
        at += n + 2;
    }
}

} // namespace

HttpReplyState readHttpReply(const QByteArray& raw, bool closed, qsizetype maxBytes)
{
    const QString tooLarge = QStringLiteral("the device's reply is larger than %1 bytes").arg(maxBytes);
    const QString cutShort = QStringLiteral("the device closed the connection before its reply was complete");
    if (raw.size() > maxBytes)
        return failed(tooLarge);
    const qsizetype headEnd = raw.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (closed)
            return failed(cutShort);
        if (raw.size() > static_cast<qsizetype>(MaxReplyHeadBytes))
            return failed(QStringLiteral("the device's reply has an HTTP header larger than %1 KB")
                              .arg(MaxReplyHeadBytes / 1024));
        return {};
    }
    HttpResponse head;
    try {
        head = parseResponseHead(raw.left(headEnd).toStdString(), "the device's reply");
    } catch (const WmiError& e) {
        return failed(QString::fromStdString(e.what()));
    }
    if (head.status != 200)
        return failed(QStringLiteral("the device answered HTTP %1").arg(head.status));
    const std::string encoding = lowerAscii(head.header("Transfer-Encoding").value_or(""));
    const bool chunked = encoding == "chunked";
    if (!chunked && !encoding.empty() && encoding != "identity")
        return failed(QStringLiteral("the device's reply uses a transfer encoding this program does not read (%1)")
                          .arg(QString::fromStdString(encoding)));
    std::optional<std::size_t> length;
    if (const auto value = head.header("Content-Length"); value && !chunked) {
        length = parseContentLength(*value);
        if (!length)
            return failed(QStringLiteral("the device sent a malformed Content-Length"));
        if (*length > static_cast<std::size_t>(maxBytes))
            return failed(tooLarge);
    }
    const qsizetype bodyAt = headEnd + 4;
    HttpReplyState state;
    if (chunked)
        state = readChunked(raw, bodyAt, maxBytes);
    else if (length)
        state = raw.size() - bodyAt >= static_cast<qsizetype>(*length)
                    ? done(raw.mid(bodyAt, static_cast<qsizetype>(*length)))
                    : HttpReplyState{};
    else if (closed)
        state = done(raw.mid(bodyAt));
    if (state.status == HttpReplyState::Status::Incomplete && closed)
        return failed(cutShort);
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
        peer_ = socket_->peerAddress();
        HttpRequest request;
        request.path = url_.path(QUrl::FullyEncoded).toStdString();
        if (request.path.empty())
            request.path = "/";
        if (url_.hasQuery())
            request.path += '?' + url_.query(QUrl::FullyEncoded).toStdString();
        request.contentType = "application/soap+xml; charset=utf-8";
        request.body = body_.toStdString();
        socket_->write(
            QByteArray::fromStdString(postMessage(request, url_.authority(QUrl::FullyEncoded).toStdString(), false)));
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
