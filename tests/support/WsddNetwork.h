#pragma once
#include "Netns.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace vorlu::test {

// A network segment of network namespaces for WS-Discovery: a client
// namespace holding a bridge, and one namespace per host, each wired to the
// bridge by a veth pair and running Debian's wsdd under the host's name.
// Everything it makes is removed by its destructor, and what a crashed
// earlier run left behind is removed by the next one.
class WsddNetwork {
public:
    // The bridge in the client namespace, the interface to probe on there.
    static constexpr const char* ClientInterface = "vbr0";

    // Empty when this machine can build the segment, else why not.
    static std::string unavailableReason();

    // Builds the segment and starts one wsdd per name; throws
    // std::runtime_error (after cleaning up) when that fails or the hosts do
    // not get ready within readyWithin.
    explicit WsddNetwork(const std::vector<std::string>& hostNames,
                         std::chrono::milliseconds readyWithin = std::chrono::seconds(30));
    ~WsddNetwork();
    WsddNetwork(const WsddNetwork&) = delete;
    WsddNetwork& operator=(const WsddNetwork&) = delete;

    const std::string& clientNamespace() const { return client_; }

    // Runs work on a thread of its own inside the client namespace (with its
    // own event loop) and waits for it; false, with the reason, when the
    // thread cannot enter the namespace.
    bool runInClient(const std::function<void()>& work, std::string* error) const;

    // Keeps the calling thread in the client namespace while it lives (a
    // window's display connection it had stays where it was); null, with the
    // reason, when the thread cannot enter the namespace.
    std::unique_ptr<ThreadInNamespace> enterClient(std::string* error) const
    {
        return ThreadInNamespace::enter(client_, error);
    }

private:
    void cleanUp();
    bool ready() const;

    std::string client_;
    std::vector<std::string> namespaces_;
    std::vector<std::unique_ptr<QProcess>> hosts_;
};

} // namespace vorlu::test
