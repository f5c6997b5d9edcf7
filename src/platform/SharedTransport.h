#pragma once
#include "platform/RemoteTransport.h"

#include <functional>
#include <memory>
#include <mutex>

namespace vorlu {

// The transport of the settings as connections on worker threads see it.
// The settings themselves belong to the user-interface thread, which
// publishes a copy here whenever they change; a connection takes a copy of
// the latest one when it starts, so one connection never mixes two settings.
class SharedTransport {
public:
    SharedTransport();

    void publish(const RemoteTransport& transport);
    RemoteTransport current() const;
    // Reads the latest published transport; safe from any thread, and stays
    // valid when this object is gone (it then reads the last one published).
    std::function<RemoteTransport()> source() const;

private:
    struct Slot {
        mutable std::mutex mutex;
        RemoteTransport value;
    };
    static RemoteTransport read(const Slot& slot);

    std::shared_ptr<Slot> slot_;
};

} // namespace vorlu
