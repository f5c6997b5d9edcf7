#pragma once
// Cancelling the management calls of one thread. A command that offers Cancel
// runs its calls under a CancelScope; the adapters' waits poll the flag and end
// the call with a WmiError soon after it is set, so that a Cancel ends calls
// under way instead of waiting for them.
#include <atomic>

namespace vorlu {

inline constexpr const char* CallCancelledText = "cancelled";

class CancelScope {
public:
    explicit CancelScope(const std::atomic<bool>& flag);
    ~CancelScope();
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    const std::atomic<bool>* previous_;
};

// True once the flag of the current thread's scope is set.
bool callCancelled();
// Throws WmiError(CallCancelledText) when callCancelled().
void throwIfCancelled();

} // namespace vorlu
