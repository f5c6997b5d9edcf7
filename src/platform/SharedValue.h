#pragma once
#include <functional>
#include <memory>
#include <mutex>

namespace vorlu {

// A setting as connections on worker threads see it. The settings themselves
// belong to the user-interface thread, which publishes a copy here whenever
// they change; a connection takes a copy of the latest one when it starts, so
// one connection never mixes two settings.
template <typename T>
class SharedValue {
public:
    SharedValue() : slot_(std::make_shared<Slot>()) {}

    void publish(const T& value)
    {
        const std::lock_guard lock(slot_->mutex);
        slot_->value = value;
    }
    T current() const { return read(*slot_); }
    // Reads the latest published value; safe from any thread, and stays valid
    // when this object is gone (it then reads the last one published).
    std::function<T()> source() const
    {
        return [slot = slot_] { return read(*slot); };
    }

private:
    struct Slot {
        mutable std::mutex mutex;
        T value;
    };
    static T read(const Slot& slot)
    {
        const std::lock_guard lock(slot.mutex);
        return slot.value;
    }

    std::shared_ptr<Slot> slot_;
};

} // namespace vorlu
