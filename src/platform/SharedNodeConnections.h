#pragma once
#include "platform/NodeConnection.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace vorlu {

// The nodes' own connections by the server a connection is made to (a
// node's address and its name), as connections on worker threads see them:
// the user-interface thread publishes a new copy whenever they change.
class SharedNodeConnections {
public:
    using ByServer = std::map<std::string, NodeConnection>;

    SharedNodeConnections();
    void publish(ByServer connections);
    // Safe from any thread, and stays valid when this object is gone.
    std::function<std::optional<NodeConnection>(const std::string& server)> lookup() const;

private:
    struct Slot {
        std::mutex mutex;
        std::shared_ptr<const ByServer> value;
    };
    std::shared_ptr<Slot> slot_;
};

} // namespace vorlu
