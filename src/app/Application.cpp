#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/DemoSeed.h"
#include "app/FrmStart.h"
#include "app/MainWindow.h"
#include "app/ModelSceneHooks.h"
#include "app/ProgramFolder.h"
#include "app/SceneHooks.h"
#include "fleet/HeadlessCheck.h"
#include "platform/Log.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SharedTransport.h"
#include "platform/SimulatedPlatform.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "app/SystemPlatform.h"
#include "remote/SystemManagement.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <iostream>
#include <optional>

namespace vorlu {

namespace {

std::filesystem::path bundledDemoNetwork()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath("demo/network.json").toStdString();
}

// The check needs no display: nothing of the window is made.
int runHeadless(const CommandLine& options, int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::string error;
    std::unique_ptr<ManagementService> management;
    std::shared_ptr<SimulatedNetwork> network;
    if (options.networkFile || options.demo) {
        const std::filesystem::path file =
            options.demo ? bundledDemoNetwork() : std::filesystem::path(*options.networkFile);
        network = SimulatedNetwork::load(file, error);
        if (!network) {
            std::cout << "OPTICAL UNKNOWN - " << error << '\n';
            return CheckUnknown;
        }
        management = std::make_unique<SimulatedManagement>(network);
    }
    const auto folder = chooseProgramFolder(options.dataDir, options.demo, error);
    if (!folder) {
        std::cout << "OPTICAL UNKNOWN - " << error << '\n';
        return CheckUnknown;
    }
    if (!management) {
        // The check runs one command: the transport of its settings file, read once, serves all of it.
        management = makeSystemManagement(thisMachine(), [transport = checkTransport(*folder)] { return transport; });
    }
    if (options.demo && !seedDemoFolder(*folder, *network, error)) {
        std::cout << "OPTICAL UNKNOWN - the demo folder could not be prepared: " << error << '\n';
        return CheckUnknown;
    }
    HeadlessRun run{*folder, std::nullopt, VORLU_VERSION};
    if (options.exportFile)
        run.exportFile = *options.exportFile;
    return runDiagnoseAllCheck(run, *management, std::cout);
}

} // namespace

int runApplication(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = parseCommandLine(args, error);
    if (!options) {
        std::cerr << error << '\n';
        if (asksForCheck(args)) {
            std::cout << "OPTICAL UNKNOWN - " << error << '\n';
            return CheckUnknown;
        }
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

    if (options->diagnoseAll)
        return runHeadless(*options, argc, argv);

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

    if (options->demo && !seedDemoFolder(*folder, *network, error))
        std::cerr << "vorlu-optical: the demo starts without its node list: " << error << '\n';

    // Connections run on worker threads: they read the copy the window publishes, never the settings themselves.
    SharedTransport transport;
    Platform platform;
    QtMessageBoxes& boxes = installSystemPlatform(platform, transport.source());
    if (network)
        installSimulatedNetwork(platform, network);
    QStringList arguments;
    for (const std::string& a : args)
        arguments << QString::fromStdString(a);
    auto restart = std::make_unique<QtProgramRestart>(QCoreApplication::applicationFilePath(), arguments);
    const QtProgramRestart& restartRequest = *restart;
    platform.restart = std::move(restart);

    ModelSceneHooks scene(*platform.messages, *platform.programEnd);
    FrmStart start;
    start.show();
    // Busy for the start-up only, whichever way it ends.
    std::optional<BusyCursor> busy;
    busy.emplace();
    QApplication::processEvents();

    Frmmain main(platform, *folder, scene);
    main.setTransportListener([&transport](const RemoteTransport& t) { transport.publish(t); });
    // Boxes are modal over the main window, not free-floating.
    boxes.setParentWidget(&main);
    main.loadStep(&start);
    busy.reset();
    if (main.endingProgram())
        return main.exitStatus(); // ended before the event loop ran, where exit() has no effect
    const int status = QApplication::exec();
    if (restartRequest.requested() && !restartRequest.relaunch()) {
        std::cerr << "vorlu-optical: could not start the program again; start it by hand\n";
        return 1;
    }
    return status;
}

} // namespace vorlu
