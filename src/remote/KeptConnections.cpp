#include "remote/KeptConnections.h"

#include <algorithm>

namespace vorlu {

ConnectionHold KeptConnections::hold(const std::string& host)
{
    {
        std::lock_guard lock(mutex_);
        ++nodes_[host].holds;
    }
    return ConnectionHold([self = shared_from_this(), host] { self->release(host); });
}

void KeptConnections::release(const std::string& host)
{
    std::vector<std::unique_ptr<WsManChannel>> closing;
    {
        std::lock_guard lock(mutex_);
        const auto it = nodes_.find(host);
        if (it == nodes_.end() || --it->second.holds > 0)
            return;
        closing = std::move(it->second.idle);
        nodes_.erase(it);
    }
    // Closed outside the lock: the other nodes' operations need not wait for it.
}

std::unique_ptr<WsManChannel> KeptConnections::take(const RemoteTransport& transport, const std::string& host,
                                                    const std::string& user, const std::string& password,
                                                    const std::function<std::unique_ptr<WsManChannel>()>& make)
{
    std::unique_ptr<WsManChannel> found;
    std::vector<std::unique_ptr<WsManChannel>> closing;
    {
        std::lock_guard lock(mutex_);
        const auto it = nodes_.find(host);
        if (it != nodes_.end()) {
            auto& idle = it->second.idle;
            for (auto& channel : idle) {
                if (!found && channel->serves(transport, host, user, password))
                    found = std::move(channel);
                else if (!channel->serves(transport, host, user, password))
                    closing.push_back(std::move(channel)); // another login, or another transport
            }
            std::erase(idle, nullptr);
        }
    }
    if (!found)
        return make();
    found->connection().takeToThread();
    return found;
}

void KeptConnections::giveBack(const std::string& host, std::unique_ptr<WsManChannel> channel, bool clean)
{
    if (!channel || !clean || !channel->usable())
        return;
    std::lock_guard lock(mutex_);
    const auto it = nodes_.find(host);
    if (it == nodes_.end())
        return; // not held: the operation's end closes it
    channel->connection().letGoOfThread();
    it->second.idle.push_back(std::move(channel));
}

} // namespace vorlu
