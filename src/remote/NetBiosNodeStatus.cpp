#include "remote/NetBiosNodeStatus.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

namespace vorlu {

namespace {

constexpr std::size_t HeaderBytes = 12;
constexpr std::size_t EncodedNameBytes = 32;
constexpr std::uint16_t TypeNbstat = 0x0021;
constexpr std::uint16_t ClassIn = 0x0001;
constexpr std::size_t NameEntryBytes = 18; // 15 name, 1 suffix, 2 flags
constexpr std::uint16_t GroupNameFlag = 0x8000;

std::uint16_t read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

void put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

std::optional<std::string> fail(std::string* problem, const char* why)
{
    if (problem)
        *problem = why;
    return std::nullopt;
}

} // namespace

std::vector<std::uint8_t> nodeStatusRequest(std::uint16_t transactionId)
{
    std::vector<std::uint8_t> out;
    out.reserve(HeaderBytes + 2 + EncodedNameBytes + 4);
    put16(out, transactionId);
    put16(out, 0x0000); // a query, no recursion: node status goes to the computer itself
    put16(out, 1);      // one question
    put16(out, 0);
    put16(out, 0);
    put16(out, 0);
    // "*" padded with zero bytes to 16, each byte written as two letters 'A' + nibble.
    out.push_back(static_cast<std::uint8_t>(EncodedNameBytes));
    for (int k = 0; k < 16; ++k) {
        const std::uint8_t c = k == 0 ? '*' : 0;
        out.push_back(static_cast<std::uint8_t>('A' + (c >> 4)));
        out.push_back(static_cast<std::uint8_t>('A' + (c & 0x0F)));
    }
    out.push_back(0);
    put16(out, TypeNbstat);
    put16(out, ClassIn);
    return out;
}

std::optional<std::string> readNodeStatusName(const std::uint8_t* data, std::size_t size,
                                              std::uint16_t transactionId, std::string* problem)
{
    if (size < HeaderBytes)
        return fail(problem, "the answer is shorter than a NetBIOS header");
    if (read16(data) != transactionId)
        return fail(problem, "the answer is to another request");
    const std::uint16_t flags = read16(data + 2);
    if (!(flags & 0x8000))
        return fail(problem, "the packet is a request, not an answer");
    if (flags & 0x000F)
        return fail(problem, "the computer refused the request");
    if (read16(data + 6) == 0)
        return fail(problem, "the answer holds no record");
    std::size_t pos = HeaderBytes;
    // The record's name: labels up to a zero length, or a pointer to one.
    for (int labels = 0;; ++labels) {
        if (pos >= size || labels > 64)
            return fail(problem, "the answer's name runs past its end");
        const std::uint8_t len = data[pos];
        if ((len & 0xC0) == 0xC0) {
            pos += 2;
            break;
        }
        if (len & 0xC0)
            return fail(problem, "the answer's name has an unknown label form");
        pos += 1 + len;
        if (len == 0)
            break;
    }
    if (pos + 10 > size)
        return fail(problem, "the answer's record runs past its end");
    if (read16(data + pos) != TypeNbstat || read16(data + pos + 2) != ClassIn)
        return fail(problem, "the answer's record is not a node status");
    const std::size_t rdLength = read16(data + pos + 8);
    pos += 10;
    if (rdLength == 0 || pos + rdLength > size)
        return fail(problem, "the answer's data runs past its end");
    const std::size_t names = data[pos];
    ++pos;
    if (names * NameEntryBytes > rdLength - 1)
        return fail(problem, "the answer counts more names than it holds");
    for (std::size_t k = 0; k < names; ++k, pos += NameEntryBytes) {
        const std::uint8_t* entry = data + pos;
        if (entry[15] != 0x00 || (read16(entry + 16) & GroupNameFlag))
            continue;
        std::size_t end = 15;
        while (end > 0 && (entry[end - 1] == ' ' || entry[end - 1] == 0))
            --end;
        std::string name(reinterpret_cast<const char*>(entry), end);
        if (name.empty())
            continue;
        for (unsigned char c : name)
            if (c < 0x21 || c > 0x7E)
                return fail(problem, "the computer's name holds a character that is not printable ASCII");
        return name;
    }
    return fail(problem, "the answer holds no unique computer name");
}

std::optional<std::string> queryNetBiosName(std::uint32_t address, int timeoutMs, std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    // Connected: only that computer's answers arrive, and a closed port reports at once.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
        return std::nullopt;
    thread_local std::minstd_rand ids(std::random_device{}());
    const auto id = static_cast<std::uint16_t>(ids());
    const std::vector<std::uint8_t> request = nodeStatusRequest(id);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // UDP may drop the request: send it again half way.
    const auto resend = Clock::now() + std::chrono::milliseconds(timeoutMs / 2);
    bool resent = false;
    if (::send(fd, request.data(), request.size(), 0) < 0)
        return std::nullopt;
    std::uint8_t buffer[1500];
    for (;;) {
        const auto now = Clock::now();
        if (now >= deadline)
            return std::nullopt;
        const auto until = resent ? deadline : std::min(deadline, resend);
        const int waitMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(until - now).count());
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, waitMs);
        if (ready < 0 && errno != EINTR)
            return std::nullopt;
        if (ready <= 0) {
            if (!resent && Clock::now() >= resend) {
                resent = true;
                if (::send(fd, request.data(), request.size(), 0) < 0)
                    return std::nullopt;
            }
            continue;
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0)
            return std::nullopt; // refused: nothing listens on the port
        if (auto name = readNodeStatusName(buffer, static_cast<std::size_t>(got), id))
            return name;
        // A stray or broken packet: keep waiting for the real answer.
    }
}

} // namespace vorlu
