#include "remote/MetadataRequest.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using Status = HttpReplyState::Status;

TEST(HttpReply, BodyByLengthChunksOrClose)
{
    struct Case {
        const char* what;
        QByteArray raw;
        bool closed;
        Status status;
        QByteArray body;
    };
    const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml\r\n";
    const std::vector<Case> cases = {
        {"length", ok + "Content-Length: 5\r\n\r\nhello", false, Status::Done, "hello"},
        {"length, more to come", ok + "Content-Length: 9\r\n\r\nhello", false, Status::Incomplete, ""},
        {"length, cut short", ok + "Content-Length: 9\r\n\r\nhello", true, Status::Failed, ""},
        {"chunked", ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nhel\r\n2;x=y\r\nlo\r\n0\r\n\r\n", false, Status::Done,
         "hello"},
        {"chunked, more to come", ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nhel\r\n", false, Status::Incomplete,
         ""},
        {"chunked, bad size", ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\nhel\r\n", false, Status::Failed, ""},
        {"until close (HTTP/1.0)", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nhello", true, Status::Done, "hello"},
        {"until close, open", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nhel", false, Status::Incomplete, ""},
        {"headers only so far", "HTTP/1.1 200 OK\r\nContent-", false, Status::Incomplete, ""},
        {"closed in the headers", "HTTP/1.1 200 OK\r\nContent-", true, Status::Failed, ""},
        {"not found", "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n", false, Status::Failed, ""},
        {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n", false, Status::Failed, ""},
        {"negative length", ok + "Content-Length: -4\r\n\r\n", false, Status::Failed, ""},
    };
    for (const Case& c : cases) {
        const HttpReplyState s = readHttpReply(c.raw, c.closed, 1024);
        EXPECT_EQ(s.status, c.status) << c.what;
        EXPECT_EQ(s.body, c.body) << c.what;
        if (c.status == Status::Failed) {
            EXPECT_FALSE(s.error.isEmpty()) << c.what;
        }
    }
    // The messages name what is wrong with the reply.
    const struct {
        QByteArray raw;
        QString error;
    } faults[] = {
        {"SSH-2.0-OpenSSH\r\n\r\n", "the device's reply is not HTTP (it begins \"SSH-2.0-OpenSSH\")"},
        {"HTTP/1.1 2000 OK\r\n\r\n", "the device's reply is not HTTP (it begins \"HTTP/1.1 2000 OK\")"},
        {ok + "no colon here\r\nContent-Length: 0\r\n\r\n", "the device's reply has a malformed HTTP header line"},
        {"HTTP/1.1 503 Busy\r\n\r\n", "the device answered HTTP 503"},
        {ok + "Content-Length: 5x\r\n\r\n", "the device sent a malformed Content-Length"},
        {ok + "Content-Length: 4096\r\n\r\n", "the device's reply is larger than 1024 bytes"},
        {ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nhello\r\n0\r\n\r\n", "the device sent a malformed chunked reply"},
        {ok + "Transfer-Encoding: chunked\r\n\r\n800\r\n", "the device sent a malformed chunked reply"},
        {ok + "Transfer-Encoding: gzip\r\n\r\nxyz",
         "the device's reply uses a transfer encoding this program does not read (gzip)"},
    };
    for (const auto& f : faults) {
        const HttpReplyState s = readHttpReply(f.raw, false, 1024);
        EXPECT_EQ(s.status, Status::Failed) << f.raw.toStdString();
        EXPECT_EQ(s.error, f.error) << f.raw.toStdString();
    }
    const HttpReplyState longHead =
        readHttpReply("HTTP/1.1 200 OK\r\nX: " + QByteArray(70 * 1024, 'x'), false, 1 << 20);
    EXPECT_EQ(longHead.error, "the device's reply has an HTTP header larger than 64 KB");
    const HttpReplyState big = readHttpReply(ok + "\r\n" + QByteArray(2000, 'x'), false, 1024);
    EXPECT_EQ(big.status, Status::Failed);
    EXPECT_TRUE(big.error.contains("larger")) << big.error.toStdString();
}

} // namespace
} // namespace vorlu
