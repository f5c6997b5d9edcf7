#include "platform/CallCancel.h"

#include "platform/Management.h"

namespace vorlu {

namespace {

// Per thread: each worker of a command carries its own command's flag.
thread_local const std::atomic<bool>* currentFlag = nullptr;

} // namespace

CancelScope::CancelScope(const std::atomic<bool>& flag) : previous_(currentFlag) { currentFlag = &flag; }

CancelScope::~CancelScope() { currentFlag = previous_; }

bool callCancelled() { return currentFlag && currentFlag->load(); }

void throwIfCancelled()
{
    if (callCancelled())
        throw WmiError(CallCancelledText);
}

} // namespace vorlu
