#include "remote/PortProbe.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <unordered_map>

namespace vorlu {

namespace {

using Clock = std::chrono::steady_clock;

struct Attempt {
    int fd = -1;
    std::uint32_t address = 0;
    std::size_t portIndex = 0;
    Clock::time_point deadline;
};

// Open ports so far and attempts still to end, per address under way.
struct AddressState {
    std::size_t pending = 0;
    std::uint32_t openMask = 0;
};

enum class Start { Pending, Open, Closed, NoSocket };

Start startAttempt(std::uint32_t address, std::uint16_t port, int& fd)
{
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Start::NoSocket;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        return Start::Open;
    if (errno == EINPROGRESS)
        return Start::Pending;
    return Start::Closed;
}

} // namespace

void probePorts(std::uint32_t first, std::uint32_t count, const PortProbeOptions& options,
                const std::function<void(std::uint32_t, const std::vector<std::uint16_t>&)>& openPorts,
                const std::atomic<bool>* cancel, std::atomic<std::uint32_t>* done)
{
    const std::size_t portCount = options.ports.size();
    if (portCount == 0 || portCount > 32 || count == 0)
        return;
    const std::size_t window = static_cast<std::size_t>(std::max(1, options.inFlight));
    const auto timeout = std::chrono::milliseconds(std::max(1, options.timeoutMs));
    const std::uint64_t total = std::uint64_t{count} * portCount;

    std::vector<Attempt> running;
    running.reserve(window);
    std::vector<pollfd> polled;
    polled.reserve(window);
    std::unordered_map<std::uint32_t, AddressState> states;
    std::uint64_t next = 0;

    auto finish = [&](std::uint32_t address, std::size_t portIndex, bool open) {
        AddressState& s = states[address];
        if (open)
            s.openMask |= 1u << portIndex;
        if (--s.pending > 0)
            return;
        const std::uint32_t mask = s.openMask;
        states.erase(address);
        if (done)
            ++*done;
        if (mask == 0)
            return;
        std::vector<std::uint16_t> ports;
        for (std::size_t k = 0; k < portCount; ++k)
            if (mask & (1u << k))
                ports.push_back(options.ports[k]);
        openPorts(address, ports);
    };

    while (next < total || !running.empty()) {
        if (cancel && cancel->load())
            break;
        while (next < total && running.size() < window) {
            const std::uint32_t address = first + static_cast<std::uint32_t>(next / portCount);
            const std::size_t portIndex = static_cast<std::size_t>(next % portCount);
            if (portIndex == 0)
                states[address].pending = portCount;
            int fd = -1;
            const Start started = startAttempt(address, options.ports[portIndex], fd);
            if (started == Start::NoSocket) {
                if (running.empty())
                    throw std::runtime_error(std::string("no socket could be opened for the scan: ") +
                                             std::strerror(errno));
                break; // out of descriptors for now: wait for attempts under way to end
            }
            ++next;
            if (started == Start::Pending) {
                running.push_back({fd, address, portIndex, Clock::now() + timeout});
                continue;
            }
            ::close(fd);
            finish(address, portIndex, started == Start::Open);
        }
        if (running.empty())
            continue;

        polled.clear();
        for (const Attempt& a : running)
            polled.push_back({a.fd, POLLOUT, 0});
        const auto now = Clock::now();
        auto soonest = running.front().deadline;
        for (const Attempt& a : running)
            soonest = std::min(soonest, a.deadline);
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(std::max(soonest - now, Clock::duration{}));
        const int ready = ::poll(polled.data(), polled.size(), static_cast<int>(waitMs.count()));
        if (ready < 0 && errno != EINTR)
            throw std::runtime_error(std::string("waiting for the scan's connections failed: ") +
                                     std::strerror(errno));

        const auto after = Clock::now();
        std::size_t kept = 0;
        for (std::size_t k = 0; k < running.size(); ++k) {
            const Attempt a = running[k];
            const short events = ready > 0 ? polled[k].revents : 0;
            bool ended = false;
            bool open = false;
            if (events != 0) {
                int error = 0;
                socklen_t len = sizeof error;
                ::getsockopt(a.fd, SOL_SOCKET, SO_ERROR, &error, &len);
                ended = true;
                open = error == 0 && (events & POLLOUT);
            } else if (after >= a.deadline) {
                ended = true;
            }
            if (!ended) {
                running[kept++] = a;
                continue;
            }
            ::close(a.fd);
            finish(a.address, a.portIndex, open);
        }
        running.resize(kept);
    }
    for (const Attempt& a : running)
        ::close(a.fd);
}

} // namespace vorlu
