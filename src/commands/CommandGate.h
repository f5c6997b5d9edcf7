#pragma once
#include <functional>
#include <string>

namespace vorlu {

// Keeps long commands from interleaving: they wait in local event loops, so
// the user can start another one meanwhile. A command that finds the gate
// closed is refused with busyText instead.
class CommandGate {
public:
    static constexpr const char* busyText = "A scan is still running. Please wait until it has finished.";

    class Pass {
    public:
        explicit Pass(CommandGate* gate) : gate_(gate) {}
        Pass(Pass&& other) noexcept : gate_(other.gate_) { other.gate_ = nullptr; }
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;
        Pass& operator=(Pass&&) = delete;
        ~Pass()
        {
            if (!gate_)
                return;
            gate_->busy_ = false;
            if (gate_->released)
                gate_->released();
        }
        explicit operator bool() const { return gate_ != nullptr; }

    private:
        CommandGate* gate_;
    };

    // Runs each time a command lets go of the gate, e.g. a close that waited for it.
    std::function<void()> released;

    bool busy() const { return busy_; }
    // A pass that holds the gate until it is destroyed; an empty pass when
    // another command holds it.
    Pass enter()
    {
        if (busy_)
            return Pass(nullptr);
        busy_ = true;
        return Pass(this);
    }

private:
    bool busy_ = false;
};

} // namespace vorlu
