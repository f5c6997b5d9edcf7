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
    const HttpReplyState big = readHttpReply(ok + "\r\n" + QByteArray(2000, 'x'), false, 1024);
    EXPECT_EQ(big.status, Status::Failed);
    EXPECT_TRUE(big.error.contains("larger")) << big.error.toStdString();
}

} // namespace
} // namespace vorlu
