#pragma once
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <memory>

class QTcpSocket;

namespace vorlu {

// Where a reply read so far stands.
struct HttpReplyState {
    enum class Status { Incomplete, Done, Failed };
    Status status = Status::Incomplete;
    QByteArray body; // when Done
    QString error;   // when Failed
};

// Reads an HTTP/1.x reply as it arrives: the status must be 200, the body is
// delimited by Content-Length, chunked coding or the end of the connection
// (closed true once the peer has closed it). Anything above maxBytes fails.
HttpReplyState readHttpReply(const QByteArray& raw, bool closed, qsizetype maxBytes);

// The HTTP POST of one metadata Get to a device's XAddr, on the calling
// thread's event loop. Emits finished exactly once: the reply body, or an
// empty body and the reason.
class MetadataRequest : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype MaxReplyBytes = 256 * 1024 + 16 * 1024;

    MetadataRequest(QUrl xaddr, QByteArray body, std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~MetadataRequest() override;

    void start();
    // Ends the request now with the reason, unless it has ended already.
    void abort(const QString& reason);
    bool ended() const { return ended_; }
    // The address the device was reached at; null until connected.
    QHostAddress peerAddress() const { return peer_; }

signals:
    void finished(const QByteArray& body, const QString& error);

private:
    void readMore(bool closed);
    void end(const QByteArray& body, const QString& error);

    QUrl url_;
    QByteArray body_;
    std::chrono::milliseconds timeout_;
    std::unique_ptr<QTcpSocket> socket_;
    QTimer timer_;
    QByteArray received_;
    QHostAddress peer_;
    bool ended_ = false;
};

} // namespace vorlu
