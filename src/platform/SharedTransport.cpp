#include "platform/SharedTransport.h"

namespace vorlu {

SharedTransport::SharedTransport() : slot_(std::make_shared<Slot>()) {}

void SharedTransport::publish(const RemoteTransport& transport)
{
    const std::lock_guard lock(slot_->mutex);
    slot_->value = transport;
}

RemoteTransport SharedTransport::read(const Slot& slot)
{
    const std::lock_guard lock(slot.mutex);
    return slot.value;
}

RemoteTransport SharedTransport::current() const { return read(*slot_); }

std::function<RemoteTransport()> SharedTransport::source() const
{
    return [slot = slot_] { return read(*slot); };
}

} // namespace vorlu
