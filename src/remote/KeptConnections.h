#pragma once
#include "platform/Management.h"
#include "remote/WsManChannel.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vorlu {

// The signed-in connections that a hold on a node keeps between operations
// (see ConnectionHold), as a Windows client's connection cache does: closed
// when the last hold on the node ends, and at once when a connection failed,
// the node answered with a fault, or the node is reached with another login.
// Safe on any thread; a connection passes between threads only at rest.
class KeptConnections : public std::enable_shared_from_this<KeptConnections> {
public:
    ConnectionHold hold(const std::string& host);
    // A kept channel of this node and login, or the one make gives.
    std::unique_ptr<WsManChannel> take(const RemoteTransport& transport, const std::string& host,
                                       const std::string& user, const std::string& password,
                                       const std::function<std::unique_ptr<WsManChannel>()>& make);
    // Back from an operation: kept while the node is held and the channel may
    // serve again, otherwise closed.
    void giveBack(const std::string& host, std::unique_ptr<WsManChannel> channel, bool clean);

private:
    void release(const std::string& host);

    struct Node {
        int holds = 0;
        std::vector<std::unique_ptr<WsManChannel>> idle;
    };
    std::mutex mutex_;
    std::map<std::string, Node> nodes_;
};

} // namespace vorlu
