// fleetshot DEMO_NETWORK OUT.png: the Fleet View after two nightly checks of
// the demo network into a fresh folder (on the first night WS-ACCOUNTS's D:
// still worked), opened on what the folder keeps, with that drive selected.
#include "app/DemoSeed.h"
#include "fleet/HeadlessCheck.h"
#include "fleet/StoredFleet.h"
#include "fleet/ui/FleetViewWindow.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>

#include <iostream>
#include <sstream>

using namespace vorlu;

namespace {

constexpr const char* FailedTray = R"("Availability": 10, "ConfigManagerErrorCode": 10, "ErrorCleared": false, )"
                                   R"("ErrorDescription": "Tray does not close", "LastErrorCode": 21, "Status": "Error", )"
                                   R"("StatusInfo": 4)";
constexpr const char* WorkingTray = R"("Availability": 3, "ConfigManagerErrorCode": 0, "ErrorCleared": null, )"
                                    R"("ErrorDescription": null, "LastErrorCode": null, "Status": "OK", "StatusInfo": null)";

int fail(const std::string& why)
{
    std::cerr << "fleetshot: " << why << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: fleetshot DEMO_NETWORK OUT.png\n";
        return 2;
    }
    std::string text, error;
    if (!readWholeFile(argv[1], text, &error))
        return fail(error);
    std::string earlier = text;
    const auto at = earlier.find(FailedTray);
    if (at == std::string::npos)
        return fail("no drive with a tray that does not close in " + std::string(argv[1]));
    earlier.replace(at, std::string(FailedTray).size(), WorkingTray);
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const auto now = SimulatedNetwork::parse(text, argv[1], error);
    if (!now || !seedDemoFolder(folder, *now, error))
        return fail(error);
    for (const std::string* night : {&earlier, &text}) {
        const auto network = SimulatedNetwork::parse(*night, argv[1], error);
        if (!network)
            return fail(error);
        SimulatedManagement management(network);
        std::ostringstream out;
        runDiagnoseAllCheck({folder, std::nullopt, VORLU_VERSION}, management, out);
        QThread::sleep(2); // the two checks at times of their own
    }
    NodeTable table;
    if (!readWholeFile(folder / NodeFileName, text, &error))
        return fail(error);
    parseNodeFile(text, table);

    FleetViewWindow view(nullptr, VORLU_VERSION, {});
    view.setRows(storedFleetRows(folder, table));
    QTableWidget& drives = view.driveTable();
    for (int r = 0; r < drives.rowCount(); ++r)
        if (drives.item(r, 0)->text() == "WS-ACCOUNTS" && drives.item(r, 2)->text() == "D:")
            drives.selectRow(r);
    view.show();
    QApplication::processEvents();
    if (!view.grab().save(QString::fromLocal8Bit(argv[2])))
        return fail(std::string("cannot write ") + argv[2]);
    return 0;
}
