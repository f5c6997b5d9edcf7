#pragma once
#include "platform/UserInterfaceServices.h"

#include <optional>

namespace vorlu {

// Test double: remembers that the program asked to end, and with what status.
class RecordingProgramEnd : public ProgramEnd {
public:
    void endProgram(int status) override
    {
        ++calls_;
        status_ = status;
    }
    bool ended() const { return status_.has_value(); }
    std::optional<int> status() const { return status_; } // of the last call
    int calls() const { return calls_; }

private:
    std::optional<int> status_;
    int calls_ = 0;
};

} // namespace vorlu
