#pragma once
#include "platform/NodeConnection.h"

#include <optional>
#include <string>

namespace vorlu {

struct NewNodeInput {
    std::string name;
    std::string address;
};

// A node's connection as the user left it: its own, or none (the program's
// Remote settings).
struct ConnectionChoice {
    std::optional<NodeConnection> own;
};

// The dialogs of the address commands; nothing when the user cancelled.
class AddressViews {
public:
    virtual ~AddressViews() = default;
    virtual std::optional<std::string> askRange(const std::string& proposed) = 0;
    virtual std::optional<NewNodeInput> askNewNode() = 0;
    virtual std::optional<ConnectionChoice> askConnection(const std::string& nodeName,
                                                          const std::optional<NodeConnection>& current,
                                                          const RemoteTransport& program) = 0;
};

} // namespace vorlu
