#include "remote/HttpConnection.h"

#include "platform/CallCancel.h"
#include "platform/Management.h"
#include "platform/TextCase.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <climits>

namespace vorlu {

namespace {

int waitMs(const QDeadlineTimer& deadline)
{
    return static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX));
}

// How long a wait goes without looking at the Cancel of its call.
constexpr int CancelSliceMs = 100;

std::string seconds(int ms)
{
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

std::string megabytes(std::size_t bytes) { return std::to_string(bytes / (1024 * 1024)) + " MB"; }

std::string text(const QString& s) { return s.toStdString(); }

} // namespace

std::string HttpEndpoint::authority() const
{
    return (host.find(':') == std::string::npos ? host : "[" + host + "]") + ":" + std::to_string(port);
}

bool isPlainHost(const std::string& host)
{
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
               c == '_' || c == ':';
    });
}

std::string postMessage(const HttpRequest& request, const std::string& authority, bool keepAlive)
{
    std::string head = "POST " + request.path + " HTTP/1.1\r\nHost: " + authority +
                       (keepAlive ? "\r\nConnection: Keep-Alive" : "\r\nConnection: close") +
                       "\r\nUser-Agent: Vorlu Optical\r\n";
    if (!request.contentType.empty())
        head += "Content-Type: " + request.contentType + "\r\n";
    head += "Content-Length: " + std::to_string(request.body.size()) + "\r\n";
    for (const auto& [name, value] : request.headers)
        head += name + ": " + value + "\r\n";
    return head + "\r\n" + request.body;
}

HttpConnection::HttpConnection(HttpEndpoint endpoint) : endpoint_(std::move(endpoint)) {}

HttpConnection::~HttpConnection() { close(); }

std::string HttpConnection::peerCertificate(const QDeadlineTimer& deadline)
{
    if (!isOpen())
        open(deadline);
    const auto* tls = qobject_cast<const QSslSocket*>(socket_.get());
    return tls ? tls->peerCertificate().toDer().toStdString() : std::string();
}

bool HttpConnection::isOpen() const
{
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void HttpConnection::letGoOfThread()
{
    if (socket_)
        socket_->moveToThread(nullptr);
}

void HttpConnection::takeToThread()
{
    if (socket_ && !socket_->thread())
        socket_->moveToThread(QThread::currentThread());
}

void HttpConnection::close()
{
    if (socket_) {
        takeToThread();
        socket_->abort();
        socket_.reset();
    }
    buffer_.clear();
}

void HttpConnection::open(const QDeadlineTimer& deadline)
{
    close();
    ++openings_;
    answers_ = 0;
    const std::string port = std::to_string(endpoint_.port);
    const QString host = QString::fromStdString(endpoint_.host);
    QDeadlineTimer connectBy(endpoint_.connectTimeoutMs);
    if (deadline.deadline() < connectBy.deadline())
        connectBy = deadline;
    QSslSocket* tls = nullptr;
    if (endpoint_.https) {
        if (!QSslSocket::supportsSsl())
            throw WmiError("HTTPS is not available: this computer has no TLS library for Qt Network");
        auto socket = std::make_unique<QSslSocket>();
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        if (!endpoint_.caFile.empty()) {
            const auto authorities = QSslCertificate::fromPath(QString::fromStdString(endpoint_.caFile), QSsl::Pem);
            if (authorities.isEmpty())
                throw WmiError("the CA file \"" + endpoint_.caFile + "\" holds no readable PEM certificate");
            config.addCaCertificates(authorities);
        }
        config.setPeerVerifyMode(endpoint_.verifyCertificate ? QSslSocket::VerifyPeer : QSslSocket::VerifyNone);
        socket->setSslConfiguration(config);
        socket->setPeerVerifyName(host);
        tls = socket.get();
        socket_ = std::move(socket);
    } else {
        socket_ = std::make_unique<QTcpSocket>();
    }
    socket_->connectToHost(host, static_cast<quint16>(endpoint_.port));
    if (!socket_->waitForConnected(waitMs(connectBy))) {
        const auto error = socket_->error();
        const std::string why = text(socket_->errorString());
        close();
        switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            throw WmiError("connection refused on port " + port + ": is remote management enabled on the node?");
        case QAbstractSocket::HostNotFoundError:
            throw WmiError("the node's name \"" + endpoint_.host + "\" could not be resolved");
        case QAbstractSocket::SocketTimeoutError:
        case QAbstractSocket::UnknownSocketError:
            throw WmiError("no connection to port " + port + " within " + seconds(endpoint_.connectTimeoutMs) +
                           ": is the node switched on, and does its firewall let remote management through?");
        default: throw WmiError("the node cannot be reached on port " + port + ": " + why);
        }
    }
    // Each message goes out in one write and then waits for its answer: Nagle's delay gains nothing.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (tls) {
        tls->startClientEncryption();
        if (!waitSliced(deadline, [tls](int ms) { return tls->waitForEncrypted(ms); })) {
            std::string errors;
            for (const QSslError& e : tls->sslHandshakeErrors())
                errors += (errors.empty() ? "" : "; ") + text(e.errorString());
            const std::string why = text(tls->errorString());
            const bool expired = deadline.hasExpired();
            close();
            if (!errors.empty())
                throw WmiError("the node's certificate was refused: " + errors +
                               " (trust its certificate authority through the CA file, or turn the certificate "
                               "check off on a network you trust)");
            if (expired)
                throw WmiError("the TLS handshake with the node on port " + port + " did not end within " +
                               seconds(endpoint_.queryTimeoutMs));
            throw WmiError("the TLS handshake with the node on port " + port + " failed: " + why +
                           " (is it an HTTPS listener?)");
        }
    }
}

bool HttpConnection::waitSliced(const QDeadlineTimer& deadline, const std::function<bool(int)>& wait)
{
    for (;;) {
        if (callCancelled()) {
            close();
            throw WmiError(CallCancelledText);
        }
        const int left = waitMs(deadline);
        const int slice = std::min(left, CancelSliceMs);
        if (wait(slice))
            return true;
        if (slice == left || socket_->state() != QAbstractSocket::ConnectedState)
            return false;
    }
}

void HttpConnection::failWaiting(const QDeadlineTimer& deadline)
{
    const bool connected = socket_ && socket_->state() == QAbstractSocket::ConnectedState;
    const std::string why = socket_ ? text(socket_->errorString()) : std::string();
    close();
    if (deadline.hasExpired())
        throw WmiError("the node did not answer within " + seconds(endpoint_.queryTimeoutMs));
    if (reused_ && !answering_)
        throw StaleConnection("the node closed the kept-alive connection before it answered");
    if (!connected && answering_)
        throw WmiError("the node closed the connection in the middle of its answer");
    if (!connected)
        throw WmiError(std::string("the node closed the connection before it answered") +
                       (endpoint_.https ? ""
                                        : " (an HTTPS listener does so to plain HTTP: check the HTTPS setting and "
                                          "the port)"));
    throw WmiError("the connection to the node failed: " + why);
}

void HttpConnection::write(const std::string& bytes, const QDeadlineTimer& deadline)
{
    if (socket_->write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        failWaiting(deadline);
    while (socket_->bytesToWrite() > 0)
        if (deadline.hasExpired() ||
            !waitSliced(deadline, [this](int ms) { return socket_->waitForBytesWritten(ms); }))
            failWaiting(deadline);
}

void HttpConnection::fill(const QDeadlineTimer& deadline)
{
    while (socket_->bytesAvailable() == 0) {
        if (deadline.hasExpired() || !waitSliced(deadline, [this](int ms) { return socket_->waitForReadyRead(ms); }))
            if (socket_->bytesAvailable() == 0)
                failWaiting(deadline);
    }
    buffer_ += socket_->readAll().toStdString();
    answering_ = true;
}

std::string HttpConnection::readLine(const QDeadlineTimer& deadline, std::size_t limit, const char* what)
{
    std::size_t end;
    while ((end = buffer_.find("\r\n")) == std::string::npos) {
        if (buffer_.size() > limit) {
            close();
            throw WmiError(std::string("the node's answer is malformed: ") + what + " is too long");
        }
        fill(deadline);
    }
    std::string line = buffer_.substr(0, end);
    buffer_.erase(0, end + 2);
    return line;
}

std::string HttpConnection::readBytes(std::size_t n, const QDeadlineTimer& deadline)
{
    while (buffer_.size() < n)
        fill(deadline);
    std::string out = buffer_.substr(0, n);
    buffer_.erase(0, n);
    return out;
}

HttpResponse HttpConnection::readResponse(const QDeadlineTimer& deadline)
{
    HttpResponse response;
    do {
        std::size_t end;
        while ((end = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (buffer_.size() > MaxReplyHeadBytes) {
                close();
                throw WmiError("the node's answer is malformed: its HTTP header is larger than " +
                               std::to_string(MaxReplyHeadBytes / 1024) + " KB");
            }
            fill(deadline);
        }
        const std::string head = buffer_.substr(0, end);
        buffer_.erase(0, end + 4);
        try {
            response = parseResponseHead(head);
        } catch (const WmiError&) {
            close();
            throw;
        }
    } while (response.status >= 100 && response.status < 200);

    const std::string tooLarge = "the node's answer is larger than " + megabytes(MaxReplyBytes) + " and was refused";
    const std::string encoding = lowerAscii(response.header("Transfer-Encoding").value_or(""));
    const auto length = response.header("Content-Length");
    if (!encoding.empty() && encoding != "identity") {
        if (encoding != "chunked") {
            close();
            throw WmiError("the node's answer uses a transfer encoding this program does not read (" + encoding + ")");
        }
        for (;;) {
            const auto size = parseChunkSize(readLine(deadline, 1024, "a chunk size line"), MaxReplyBytes);
            if (!size) {
                close();
                throw WmiError("the node's answer has a chunk size that is not valid or larger than " +
                               megabytes(MaxReplyBytes));
            }
            if (*size == 0)
                break;
            if (response.body.size() + *size > MaxReplyBytes) {
                close();
                throw WmiError(tooLarge);
            }
            response.body += readBytes(*size, deadline);
            if (!readLine(deadline, 2, "the end of a chunk").empty()) {
                close();
                throw WmiError("the node's answer is malformed: a chunk is longer than its size");
            }
        }
        // Trailers, up to the blank line.
        for (int k = 0; !readLine(deadline, 8192, "a trailer line").empty(); ++k)
            if (k > 64) {
                close();
                throw WmiError("the node's answer is malformed: too many trailer lines");
            }
    } else if (length) {
        const auto n = parseContentLength(*length);
        if (!n) {
            close();
            throw WmiError("the node's answer has a Content-Length that is not a number");
        }
        if (*n > MaxReplyBytes) {
            close();
            throw WmiError(tooLarge);
        }
        response.body = readBytes(*n, deadline);
    } else if (response.status != 204 && response.status != 304) {
        // No length: the answer ends with the connection.
        for (;;) {
            if (buffer_.size() > MaxReplyBytes) {
                close();
                throw WmiError(tooLarge);
            }
            if (socket_->state() != QAbstractSocket::ConnectedState && socket_->bytesAvailable() == 0)
                break;
            if (deadline.hasExpired())
                failWaiting(deadline);
            if (socket_->bytesAvailable() == 0 &&
                !waitSliced(deadline, [this](int ms) { return socket_->waitForReadyRead(ms); }) &&
                socket_->state() == QAbstractSocket::ConnectedState && socket_->bytesAvailable() == 0)
                failWaiting(deadline);
            buffer_ += socket_->readAll().toStdString();
        }
        response.body = std::move(buffer_);
        buffer_.clear();
        close();
        return response;
    }
    if (response.closesConnection())
        close();
    return response;
}

HttpResponse HttpConnection::post(const HttpRequest& request, const QDeadlineTimer& deadline)
{
    takeToThread();
    struct LetGo {
        HttpConnection& connection;
        ~LetGo() { connection.letGoOfThread(); }
    } letGo{*this};
    reused_ = false;
    if (!isOpen())
        open(deadline);
    reused_ = answers_ > 0;
    answering_ = !buffer_.empty();
    write(postMessage(request, endpoint_.authority(), true), deadline);
    HttpResponse response = readResponse(deadline);
    ++answers_;
    return response;
}

} // namespace vorlu
