// The HTTP client against canned answers: how the body's end is found and
// what an answer that lies about it, or is too large, gets.
#include "remote/HttpConnection.h"

#include "platform/Management.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace vorlu {
namespace {

// Answers each request of one connection with the next canned text, then closes.
class CannedServer {
public:
    explicit CannedServer(std::vector<std::string> answers) : answers_(std::move(answers))
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~CannedServer()
    {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        if (thread_.joinable())
            thread_.join();
    }
    int port() const { return port_; }

private:
    void serve()
    {
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0)
            return;
        for (const std::string& answer : answers_) {
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            for (std::size_t sent = 0; sent < answer.size();) {
                const ssize_t n = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
        }
        ::close(connection);
    }

    std::vector<std::string> answers_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

std::string outcome(HttpConnection& http)
{
    try {
        const HttpResponse r = http.post(HttpRequest{}, QDeadlineTimer(3000));
        return std::to_string(r.status) + " " + r.body;
    } catch (const WmiError& e) {
        return e.what();
    }
}

HttpEndpoint local(const CannedServer& server) { return {"127.0.0.1", server.port(), false, true, "", 3000, 3000}; }

TEST(HttpConnection, BodiesEndByLengthChunksOrTheConnectionOnOneKeptConnection)
{
    CannedServer server({"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello",
                         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\nA\r\n0123456789\r\n0\r\n"
                         "Trailer: t\r\n\r\n",
                         "HTTP/1.1 401 Unauthorized\r\nContent-Length: 0\r\n\r\n",
                         "HTTP/1.0 200 OK\r\n\r\nuntil the end"});
    HttpConnection http(local(server));
    EXPECT_EQ(outcome(http), "200 hello");
    EXPECT_EQ(outcome(http), "200 abc0123456789");
    EXPECT_EQ(outcome(http), "401 ");
    EXPECT_EQ(outcome(http), "200 until the end");
    EXPECT_EQ(http.openings(), 1);
    EXPECT_FALSE(http.isOpen());
}

TEST(HttpConnection, AnswersThatLieAboutTheirSizeOrExceedTheCapAreRefused)
{
    const std::string big = std::to_string(MaxReplyBytes + 1);
    const struct {
        std::string answer, text;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: " + big + "\r\n\r\n", "the node's answer is larger than 4 MB and was refused"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 12abc\r\n\r\n", "the node's answer has a Content-Length that is not a number"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort",
         "the node closed the connection in the middle of its answer"},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n500000\r\n",
         "the node's answer has a chunk size that is not valid or larger than 4 MB"},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabcdef\r\n0\r\n\r\n",
         "the node's answer is malformed: a chunk is longer than its size"},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n",
         "the node's answer uses a transfer encoding this program does not read (gzip)"},
        {"SSH-2.0-OpenSSH_9.2\r\n\r\n", "the node's answer is not HTTP (it begins \"SSH-2.0-OpenSSH_9.2\")"},
        {"HTTP/1.1 200 OK\r\nX: " + std::string(70 * 1024, 'x'), "the node's answer is malformed: its HTTP header is larger than 64 KB"},
    };
    for (const auto& c : cases) {
        CannedServer server({c.answer});
        HttpConnection http(local(server));
        EXPECT_EQ(outcome(http), c.text);
        EXPECT_FALSE(http.isOpen());
    }
}

} // namespace
} // namespace vorlu
