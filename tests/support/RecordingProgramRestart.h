#pragma once
#include "platform/UserInterfaceServices.h"

namespace vorlu {

// Test double: counts the requests to start the program again.
class RecordingProgramRestart : public ProgramRestart {
public:
    void restartProgram() override { ++calls_; }
    int calls() const { return calls_; }

private:
    int calls_ = 0;
};

} // namespace vorlu
