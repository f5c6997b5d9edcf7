#include "platform/SharedNodeConnections.h"

namespace vorlu {

SharedNodeConnections::SharedNodeConnections() : slot_(std::make_shared<Slot>())
{
    slot_->value = std::make_shared<const ByServer>();
}

void SharedNodeConnections::publish(ByServer connections)
{
    auto next = std::make_shared<const ByServer>(std::move(connections));
    const std::lock_guard lock(slot_->mutex);
    slot_->value = std::move(next);
}

std::function<std::optional<NodeConnection>(const std::string&)> SharedNodeConnections::lookup() const
{
    return [slot = slot_](const std::string& server) -> std::optional<NodeConnection> {
        std::shared_ptr<const ByServer> current;
        {
            const std::lock_guard lock(slot->mutex);
            current = slot->value;
        }
        const auto it = current->find(server);
        return it == current->end() ? std::nullopt : std::optional(it->second);
    };
}

} // namespace vorlu
