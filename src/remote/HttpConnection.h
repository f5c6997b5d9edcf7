#pragma once
#include "platform/Management.h"
#include "remote/HttpResponse.h"

#include <QDeadlineTimer>

#include <functional>
#include <memory>
#include <string>

class QTcpSocket;

namespace vorlu {

struct HttpEndpoint {
    std::string host; // a name or an IP address, IPv6 without brackets
    int port = 0;
    bool https = false;
    bool verifyCertificate = true;
    std::string caFile; // further trusted authorities, PEM
    int connectTimeoutMs = 5000;
    int queryTimeoutMs = 30000; // only named in the texts of a timeout

    // host:port as a URL and the Host header write it.
    std::string authority() const;
};

// A host fit for a URL and a header: letters, digits, '.', '-', '_' and, for
// IPv6, ':'; never a blank, a slash or a line break.
bool isPlainHost(const std::string& host);

struct HttpRequest {
    std::string path = "/wsman";
    std::string contentType;
    HttpHeaders headers;
    std::string body;
};

// The bytes of one POST to the server at authority: request line, headers,
// body. Without keepAlive the server is asked to close after its answer.
std::string postMessage(const HttpRequest& request, const std::string& authority, bool keepAlive);

// A kept-alive connection the node had closed while it was idle: nothing of
// the request was answered, so it may be sent again on a new connection.
class StaleConnection : public WmiError {
public:
    using WmiError::WmiError;
};

// One kept-alive HTTP/1.1 connection to a node, used blocking on the calling
// thread (a worker thread: the window never waits on it), one thread at a
// time but not always the same one. Every wait is
// bounded by the deadline given and the connection limit, and ends soon after
// a Cancel of the current call; an answer is bounded by MaxReplyBytes.
class HttpConnection {
public:
    explicit HttpConnection(HttpEndpoint endpoint);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    // Sends one POST, opening the connection first when it is not open, and
    // reads its answer. Throws WmiError; the connection is closed after a
    // failure, and after an answer that ends it.
    HttpResponse post(const HttpRequest& request, const QDeadlineTimer& deadline);

    // Opens the connection when it is not open; the DER of the node's TLS
    // certificate, empty over plain HTTP. Throws WmiError.
    std::string peerCertificate(const QDeadlineTimer& deadline);

    bool isOpen() const;
    // How many connections were opened so far: a login bound to the
    // connection is gone when this changes.
    int openings() const { return openings_; }
    void close();
    const HttpEndpoint& endpoint() const { return endpoint_; }

private:
    void open(const QDeadlineTimer& deadline);
    void write(const std::string& bytes, const QDeadlineTimer& deadline);
    void fill(const QDeadlineTimer& deadline);
    std::string readLine(const QDeadlineTimer& deadline, std::size_t limit, const char* what);
    std::string readBytes(std::size_t n, const QDeadlineTimer& deadline);
    HttpResponse readResponse(const QDeadlineTimer& deadline);
    // Runs wait(ms) in short slices until it succeeds, fails or the deadline
    // passes; a Cancel of the current call closes the connection and throws.
    bool waitSliced(const QDeadlineTimer& deadline, const std::function<bool(int)>& wait);
    [[noreturn]] void failWaiting(const QDeadlineTimer& deadline);
    // Between requests the socket belongs to no thread, so that the next
    // request, or the close, may come from another worker thread.
    void letGoOfThread();
    void takeToThread();

    HttpEndpoint endpoint_;
    std::unique_ptr<QTcpSocket> socket_;
    std::string buffer_;
    bool answering_ = false; // a byte of the answer has come
    bool reused_ = false;    // the request went out on a connection that had answered before
    int answers_ = 0;        // on the connection open now
    int openings_ = 0;
};

} // namespace vorlu
