#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/FrmStart.h"
#include "app/MainWindow.h"
#include "app/ModelSceneHooks.h"
#include "app/ProgramFolder.h"
#include "app/SceneHooks.h"
#include "platform/Log.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "platform/ui/SystemPlatform.h"

#include <QApplication>
#include <QDir>
#include <iostream>
#include <optional>

namespace vorlu {

namespace {

std::filesystem::path bundledDemoNetwork()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath("demo/network.json").toStdString();
}

} // namespace

int runApplication(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = parseCommandLine(args, error);
    if (!options) {
        std::cerr << error << '\n';
        return 2;
    }
    if (options->help) {
        std::cout << usageText();
        return 0;
    }
    if (options->version) {
        std::cout << "vorlu-optical " << VORLU_VERSION << '\n';
        return 0;
    }

    if (options->logFile && !openLogFile(*options->logFile, &error)) {
        std::cerr << "vorlu-optical: " << error << '\n';
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("vorlu-optical");
    QApplication::setApplicationDisplayName("Vorlu Optical");

    // The simulated network is read before anything is written anywhere.
    std::shared_ptr<SimulatedNetwork> network;
    if (options->networkFile || options->demo) {
        const std::filesystem::path file = options->demo ? bundledDemoNetwork() : std::filesystem::path(*options->networkFile);
        network = SimulatedNetwork::load(file, error);
        if (!network) {
            std::cerr << error << '\n';
            logToFileOnly(lcApp(), error);
            return 2;
        }
    }
    const auto folder = chooseProgramFolder(options->dataDir, options->demo, error);
    if (!folder) {
        std::cerr << error << '\n';
        logToFileOnly(lcApp(), error);
        return 2;
    }

    Platform platform;
    QtMessageBoxes& boxes = installSystemPlatform(platform);
    if (network)
        installSimulatedNetwork(platform, network);

    ModelSceneHooks scene(*platform.messages, *platform.programEnd);
    FrmStart start;
    start.show();
    // Busy for the start-up only, whichever way it ends.
    std::optional<BusyCursor> busy;
    busy.emplace();
    QApplication::processEvents();

    Frmmain main(platform, *folder, scene);
    // Boxes are modal over the main window, not free-floating.
    boxes.setParentWidget(&main);
    main.loadStep(&start);
    busy.reset();
    if (main.endingProgram())
        return main.exitStatus(); // ended before the event loop ran, where exit() has no effect
    return QApplication::exec();
}

} // namespace vorlu
