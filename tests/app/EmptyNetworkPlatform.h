#pragma once
// A platform for main-window tests: a simulated network without computers,
// scripted message boxes and a recorded program end.
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

namespace vorlu::test {

inline void installEmptyNetwork(Platform& platform)
{
    std::string error;
    installSimulatedNetwork(platform, SimulatedNetwork::parse(R"({"computers": []})", "net.json", error));
    platform.messages = std::make_unique<ScriptedMessageBoxes>();
    platform.programEnd = std::make_unique<RecordingProgramEnd>();
}

} // namespace vorlu::test
