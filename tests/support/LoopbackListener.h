#pragma once
// A TCP socket listening on a loopback address, closed when destroyed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace vorlu::test {

struct LoopbackListener {
    int fd = -1;
    std::uint16_t port = 0; // 0 when it could not listen

    // Port 0 takes a free one.
    LoopbackListener(const char* address, std::uint16_t wanted)
    {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(wanted);
        ::inet_pton(AF_INET, address, &sa.sin_addr);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, 64) != 0)
            return;
        socklen_t len = sizeof sa;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
        port = ntohs(sa.sin_port);
    }
    ~LoopbackListener() { ::close(fd); }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;
};

} // namespace vorlu::test
