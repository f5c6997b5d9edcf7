#pragma once
// A delay line between the program and a server on loopback, in the
// benchmark's own process: it listens on 127.0.0.2 and the addresses after it
// (one per simulated node, all on one port), relays each connection to the
// server's port on 127.0.0.1 and holds every chunk half a round trip in each
// direction. A connection's first bytes wait one round trip more, as TCP's
// handshake makes them wait. Stops, and closes every connection, when destroyed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vorlu::bench {

class DelayLine {
public:
    using Clock = std::chrono::steady_clock;

    DelayLine(int serverPort, std::chrono::milliseconds roundTrip, int addresses = 1)
        : serverPort_(serverPort), roundTrip_(roundTrip)
    {
        for (int k = 0; k < addresses; ++k)
            listeners_.push_back(listenOn(address(k)));
        if (::pipe(wake_) != 0)
            throw std::runtime_error("delay line: no pipe");
        acceptor_ = std::thread([this] { accept(); });
    }

    ~DelayLine()
    {
        stopping_ = true;
        (void)!::write(wake_[1], "x", 1);
        acceptor_.join();
        {
            std::lock_guard lock(mutex_);
            for (auto& link : links_)
                link->stop();
        }
        links_.clear();
        for (int fd : listeners_)
            ::close(fd);
        ::close(wake_[0]);
        ::close(wake_[1]);
    }

    DelayLine(const DelayLine&) = delete;
    DelayLine& operator=(const DelayLine&) = delete;

    int port() const { return port_; }
    // The address the program reaches node k (from 0) at.
    static std::string address(int k) { return "127.0.0." + std::to_string(k + 2); }

private:
    // One direction of a connection: a reader that stamps each chunk with its
    // time to go, and a writer that sends it then.
    class Pump {
    public:
        Pump(int from, int to, Clock::time_point notBefore, Clock::duration delay)
            : from_(from), to_(to), notBefore_(notBefore), delay_(delay), reader_([this] { read(); }),
              writer_([this] { write(); })
        {
        }
        ~Pump()
        {
            reader_.join();
            writer_.join();
        }
        bool finished() const { return ended_ == 2; }

    private:
        struct Chunk {
            Clock::time_point due;
            std::string bytes; // empty: the other side ended
        };
        void read()
        {
            char buffer[65536];
            for (;;) {
                const ssize_t n = ::read(from_, buffer, sizeof buffer);
                const Clock::time_point due = std::max(Clock::now(), notBefore_) + delay_;
                std::lock_guard lock(mutex_);
                queue_.push_back({due, n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string()});
                ready_.notify_one();
                if (n <= 0) {
                    ++ended_;
                    return;
                }
            }
        }
        void write()
        {
            for (;;) {
                Chunk chunk;
                {
                    std::unique_lock lock(mutex_);
                    ready_.wait(lock, [this] { return !queue_.empty(); });
                    chunk = std::move(queue_.front());
                    queue_.pop_front();
                }
                std::this_thread::sleep_until(chunk.due);
                if (chunk.bytes.empty()) {
                    ::shutdown(to_, SHUT_WR);
                    ++ended_;
                    return;
                }
                for (std::size_t sent = 0; sent < chunk.bytes.size();) {
                    const ssize_t n = ::send(to_, chunk.bytes.data() + sent, chunk.bytes.size() - sent, MSG_NOSIGNAL);
                    if (n <= 0) {
                        ::shutdown(from_, SHUT_RD);
                        ++ended_;
                        return;
                    }
                    sent += static_cast<std::size_t>(n);
                }
            }
        }

        int from_;
        int to_;
        Clock::time_point notBefore_;
        Clock::duration delay_;
        std::mutex mutex_;
        std::condition_variable ready_;
        std::deque<Chunk> queue_;
        std::atomic<int> ended_{0};
        std::thread reader_;
        std::thread writer_;
    };

    struct Link {
        Link(int c, int s, Clock::duration roundTrip) : client(c), server(s)
        {
            const Clock::time_point opened = Clock::now();
            up = std::make_unique<Pump>(client, server, opened + roundTrip, roundTrip / 2);
            down = std::make_unique<Pump>(server, client, opened, roundTrip / 2);
        }
        Link(const Link&) = delete;
        Link& operator=(const Link&) = delete;
        int client;
        int server;
        std::unique_ptr<Pump> up;
        std::unique_ptr<Pump> down;
        bool finished() const { return up->finished() && down->finished(); }
        void stop()
        {
            ::shutdown(client, SHUT_RDWR);
            ::shutdown(server, SHUT_RDWR);
        }
        ~Link()
        {
            stop();
            up.reset();
            down.reset();
            ::close(client);
            ::close(server);
        }
    };

    int listenOn(const std::string& host)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port_));
        ::inet_pton(AF_INET, host.c_str(), &a.sin_addr);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 256) != 0)
            throw std::runtime_error("delay line: cannot listen on " + host);
        socklen_t length = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
        return fd;
    }

    int connectToServer() const
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(serverPort_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    void accept()
    {
        std::vector<pollfd> fds;
        for (int fd : listeners_)
            fds.push_back({fd, POLLIN, 0});
        fds.push_back({wake_[0], POLLIN, 0});
        while (!stopping_) {
            if (::poll(fds.data(), fds.size(), -1) <= 0)
                continue;
            for (std::size_t k = 0; k + 1 < fds.size(); ++k) {
                if (!(fds[k].revents & POLLIN))
                    continue;
                const int client = ::accept4(fds[k].fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (client < 0)
                    continue;
                const int server = connectToServer();
                if (server < 0) {
                    ::close(client);
                    continue;
                }
                const int on = 1;
                ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                std::lock_guard lock(mutex_);
                // Connections both sides ended are let go, so their threads do not pile up.
                links_.remove_if([](const std::unique_ptr<Link>& l) { return l->finished(); });
                links_.push_back(std::make_unique<Link>(client, server, roundTrip_));
            }
        }
    }

    int serverPort_;
    std::chrono::milliseconds roundTrip_;
    int port_ = 0;
    std::vector<int> listeners_;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::mutex mutex_;
    std::list<std::unique_ptr<Link>> links_;
};

} // namespace vorlu::bench
