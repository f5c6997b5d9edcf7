#pragma once
// The program's main window in the test's own process, started on a program
// folder and a simulated network, to look inside after a real run.
#include "app/MainWindow.h"
#include "support/RecordingProgramEnd.h"
#include "support/ScriptedMessageBoxes.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QString>
#include <memory>
#include <string>

namespace vorlu::e2e {

struct InProcessWindow {
    Platform platform;
    SceneHooks scene;
    std::unique_ptr<Frmmain> window;

    InProcessWindow(const std::string& network, const QString& programFolder)
    {
        std::string error;
        installSimulatedNetwork(platform, SimulatedNetwork::parse(network, "net.json", error));
        platform.messages = std::make_unique<ScriptedMessageBoxes>();
        platform.programEnd = std::make_unique<RecordingProgramEnd>();
        window = std::make_unique<Frmmain>(platform, programFolder.toStdString(), scene);
        window->loadStep(nullptr);
    }
};

} // namespace vorlu::e2e
