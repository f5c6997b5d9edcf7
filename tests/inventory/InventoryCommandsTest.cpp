// The drive scan commands on a simulated network: what they write, show and
// mark, and how they end when a node refuses, is missing or is slow.
#include "inventory/InventoryScanCommands.h"
#include "inventory/InventoryTexts.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"
#include "support/InventoryFakes.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

std::string drives(int n, int latencyDriveStatus = 3)
{
    std::string out;
    for (int k = 1; k <= n; ++k) {
        out += std::string(k > 1 ? "," : "") + R"({"Drive": "X)" + std::to_string(k) + R"(:", "Name": "DRIVE )" +
               std::to_string(k) + R"(", "Availability": )" + std::to_string(latencyDriveStatus) +
               R"(, "ConfigManagerErrorCode": 0, "Status": "OK", "MediaLoaded": true})";
    }
    return out;
}

std::string computer(const std::string& name, const std::string& ip, const std::string& accounts, int driveCount,
                     const std::string& extra = "")
{
    return R"({"name": ")" + name + R"(", "address": ")" + ip + R"(", )" + extra +
           R"("management": {"accounts": [)" + accounts + R"(], "namespaces": ["root\\cimv2", "root\\other"],
           "cdromDrives": [)" + drives(driveCount) + "]}}";
}

const std::string Admin = R"({"user": "administrator", "password": "Adm1n-pw"})";

std::string networkText()
{
    return R"({"localAddress": "192.168.1.10", "computers": [)" +
           computer("WS-ADMIN", "192.168.1.10", R"({"user": "", "password": ""})", 2) + "," +
           computer("PC-LOGIN", "10.0.0.5", R"({"user": "admin", "password": "s3cret-pw"})", 1) + "," +
           computer("PC-ADMIN", "10.0.0.6", Admin, 4) + "," +
           R"({"name": "PC-OFF", "address": "10.0.0.7", "management": {"reachable": false}},)" +
           computer("PC-TWELVE", "10.0.0.8", Admin, 12) + "," +
           computer("PC-SLOW", "10.0.0.9", Admin, 1, R"("latencyMs": 150, )") + "," +
           R"({"name": "PC-OTHERNS", "address": "10.0.0.10", "management": {"namespaces": ["root\\other"],
              "accounts": [)" + Admin + "]}}]}";
}

enum Node : std::size_t { Local = 1, Login, AdminNode, Off, Twelve, Slow, OtherNs };

struct Rig {
    QTemporaryDir dir;
    std::filesystem::path folder{dir.path().toStdString()};
    NodeTable table;
    Settings settings;
    std::size_t SelectedNode = 0;
    std::size_t LocalNode = Local;
    ScanFlags flags;
    DriveResults results;
    std::unique_ptr<SimulatedManagement> management;
    InlineWork inlineRunner;
    BackgroundWork workerRunner;
    test::RecordingProgress dialog;
    test::RecordingWindow window;
    test::RecordingTree tree;
    test::RecordingGrids grids;
    test::RecordingUnits units;
    test::RecordingPainter painter;
    CommandGate gate;
    bool ending = false;
    std::vector<std::size_t> shown; // the nodes the window was told it shows
    std::unique_ptr<InventoryScanCommands> commands;

    // Every node on the simulated network, or on the service given.
    explicit Rig(bool worker = false, ManagementService* service = nullptr)
    {
        std::string error;
        auto net = SimulatedNetwork::parse(networkText(), "net.json", error);
        EXPECT_TRUE(net) << error;
        management = std::make_unique<SimulatedManagement>(net);
        for (const char* name : {"WS-ADMIN", "PC-LOGIN", "PC-ADMIN", "PC-OFF", "PC-TWELVE", "PC-SLOW", "PC-OTHERNS"}) {
            NodeRecord r = discoveredNode(name);
            for (const auto& c : net->computers)
                if (c.name == name)
                    r.IP = c.address.value_or("");
            table.append(r);
            std::filesystem::create_directory(folder / name);
        }
        table.at(Login).Login = "admin";
        table.at(Login).Password = "s3cret-pw";
        settings.AdminUser = "administrator";
        settings.AdminPassword = "Adm1n-pw";
        commands = std::make_unique<InventoryScanCommands>(
            InventoryState{table, settings, SelectedNode, LocalNode, flags, folder, results},
            InventoryServices{service ? *service : *management, worker ? static_cast<BackgroundWork&>(workerRunner) : inlineRunner, dialog,
                              window, tree, grids, units, gate, [this] { return ending; }, {},
                              [this](std::size_t n) { shown.push_back(n); }});
        commands->setPainter(painter);
    }

    std::string file(const char* node, const char* name) const
    {
        std::ifstream in(folder / node / name, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
    }
    bool saw(const std::string& status) const
    {
        return std::find(dialog.statuses.begin(), dialog.statuses.end(), status) != dialog.statuses.end();
    }
    std::size_t driveEntries() const { return tree.under("28 node").size(); }
};

TEST(InventoryCommands, BuildSelectedNodeWithItsOwnLogin)
{
    Rig rig;
    rig.SelectedNode = Login;
    EXPECT_TRUE(rig.commands->BuildSelected());
    EXPECT_EQ(rig.commands->connection().user, "admin");
    EXPECT_EQ(rig.commands->connection().server, "10.0.0.5");
    for (const char* s : {"Connecting to WMI admin10.0.0.5", "Connected to admin10.0.0.5",
                          "Collecting Optical Drive information for admin10.0.0.5", "Hardware data collected ",
                          "Building system for admin10.0.0.5"})
        EXPECT_TRUE(rig.saw(s)) << s;
    EXPECT_EQ(rig.dialog.status, "System built for admin10.0.0.5");
    EXPECT_EQ(rig.file("PC-LOGIN", "report"), "CD\r\n1\r\nX1:\r\nDRIVE 1\r\n\r\n");
    ASSERT_EQ(rig.driveEntries(), 1u);
    EXPECT_EQ(rig.tree.under("28 node")[0].text, "DRIVE 1");
    EXPECT_EQ(rig.tree.entries[0].key, "1 node");
    EXPECT_EQ(rig.units.units, 1);
    EXPECT_FALSE(rig.dialog.visible);
    EXPECT_FALSE(rig.window.busy);
    EXPECT_TRUE(rig.flags.DriveScanDone);
    EXPECT_FALSE(rig.flags.AccessDenied);
    EXPECT_EQ(rig.table.at(Login).Scanned, "Scanned");
    EXPECT_EQ(rig.dialog.bar, 1.0);
}

TEST(InventoryCommands, DiagnoseSelectedNodeWithTheAdministratorLogin)
{
    Rig rig;
    rig.SelectedNode = AdminNode;
    rig.settings.WmiNamespace = "root\\other"; // the check uses it; the diagnostics read root\cimv2 anyway
    EXPECT_TRUE(rig.commands->DiagnoseSelected());
    EXPECT_EQ(rig.commands->connection().user, "administrator");
    EXPECT_EQ(rig.dialog.statuses.front(), "Preparing diagnostic check...");
    EXPECT_EQ(rig.dialog.caption, "Diagnostic");
    EXPECT_TRUE(rig.saw("Connecting to WMI 10.0.0.6"));
    EXPECT_TRUE(rig.saw("Sensor data collected "));
    EXPECT_EQ(rig.dialog.status, "System scanned for 10.0.0.6");
    std::string expected = "4\r\n";
    for (int k = 0; k < 4; ++k)
        expected += "3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue\r\n";
    EXPECT_EQ(rig.file("PC-ADMIN", "sen_cd"), expected + "\r\n");
    EXPECT_EQ(rig.grids.green, "4");
    EXPECT_EQ(rig.grids.rows(StateGrid::Green).front(), "<ok>|CD 1|OK|10.0.0.6|PC-ADMIN");
    EXPECT_EQ(rig.commands->results().table.DriveCount(), 4u);
    EXPECT_EQ(rig.painter.painted.size(), 4u);
    EXPECT_EQ(rig.commands->DiagnosedNode(), AdminNode);
    EXPECT_FALSE(rig.dialog.visible);
    EXPECT_FALSE(rig.dialog.busy);
    EXPECT_FALSE(rig.window.busy);
}

// One node and one moment: a command that fails on another node leaves nothing
// of the node shown before on screen, and the window is told which node it shows.
TEST(InventoryCommands, AFailureOnAnotherNodeLeavesNothingOfTheOneBefore)
{
    Rig rig;
    rig.SelectedNode = AdminNode;
    ASSERT_TRUE(rig.commands->BuildSelected());
    ASSERT_TRUE(rig.commands->DiagnoseSelected());
    ASSERT_EQ(rig.grids.green, "4");
    ASSERT_EQ(rig.driveEntries(), 4u);
    ASSERT_GT(rig.units.units, 0);
    for (const bool build : {false, true}) {
        rig.SelectedNode = Off;
        rig.shown.clear();
        build ? rig.commands->BuildSelected() : rig.commands->DiagnoseSelected();
        EXPECT_EQ(rig.dialog.status, "Access denied to 10.0.0.7") << build;
        EXPECT_EQ(rig.grids.green, "0");
        EXPECT_TRUE(rig.painter.painted.empty());
        EXPECT_EQ(rig.units.units, 0);
        EXPECT_EQ(rig.driveEntries(), 0u);
        EXPECT_EQ(rig.commands->results().table.DriveCount(), 0u);
        ASSERT_FALSE(rig.shown.empty());
        EXPECT_EQ(rig.shown.back(), static_cast<std::size_t>(Off)) << "the status bar names the node tried";
    }
}

TEST(InventoryCommands, RefusedAndUnreachableNodesAreAccessDeniedWithTheirReason)
{
    const struct {
        Node node;
        bool build;
        const char* status;
        const char* reason;
    } cases[] = {
        {AdminNode, true, "Access denied to 10.0.0.6", "Access is denied."},
        {Off, true, "Access denied to 10.0.0.7", "The RPC server is unavailable."},
        {AdminNode, false, "Access denied to 10.0.0.6", "Access is denied."},
        // Never answered by this computer, which the empty server means for the local commands alone.
        {AdminNode, true, "Access denied to ", "no address"},
        {AdminNode, false, "Access denied to ", "no address"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.settings.AdminPassword = "wrong-pw";
        rig.SelectedNode = c.node;
        if (std::string(c.status) == "Access denied to ") // a node whose address is unknown
            rig.table.at(c.node).IP.clear();
        rig.grids.green = "7";
        c.build ? rig.commands->BuildSelected() : rig.commands->DiagnoseSelected();
        EXPECT_EQ(rig.dialog.status, c.status);
        EXPECT_EQ(rig.dialog.detail, c.reason);
        EXPECT_EQ(rig.window.message, std::string(c.status) + ": " + c.reason);
        EXPECT_TRUE(rig.dialog.visible);
        EXPECT_FALSE(rig.window.busy);
        EXPECT_FALSE(rig.dialog.busy);
        EXPECT_TRUE(rig.flags.AccessDenied);
        EXPECT_FALSE(rig.flags.DriveScanDone);
        EXPECT_EQ(rig.table.at(c.node).Scanned, "Access denied");
        EXPECT_EQ(rig.table.at(Login).Scanned, "False") << "other nodes keep their state";
        // A refused node leaves nothing of an earlier node or run on screen.
        EXPECT_EQ(rig.grids.green, "0");
        EXPECT_EQ(rig.file(rig.table.at(c.node).Name.c_str(), c.build ? "report" : "sen_cd"), "<none>");
        EXPECT_EQ(rig.driveEntries(), 0u);
        for (const std::string& s : rig.dialog.statuses)
            EXPECT_EQ(s.find("wrong-pw"), std::string::npos) << s;
        EXPECT_EQ(rig.window.message.find("wrong-pw"), std::string::npos);
    }
}

TEST(InventoryCommands, AFailedQueryAfterTheCheckEndsInOrder)
{
    Rig rig;
    rig.settings.WmiNamespace = "root\\other";
    rig.SelectedNode = OtherNs; // answers the check, has no root\cimv2 for the diagnostics
    rig.commands->DiagnoseSelected();
    EXPECT_EQ(rig.dialog.status, "Unable to collect optical drive information for 10.0.0.10");
    EXPECT_EQ(rig.dialog.detail, "Invalid namespace");
    EXPECT_FALSE(rig.saw("Sensor data collected "));
    EXPECT_FALSE(rig.window.busy);
    EXPECT_FALSE(rig.dialog.busy);
    EXPECT_EQ(rig.file("PC-OTHERNS", "sen_cd"), "<none>");
}

TEST(InventoryCommands, MissingNodeFolderIsMadeAndAnUnwritableOneIsReportedWithNothingOlderShown)
{
    Rig rig;
    std::filesystem::remove_all(rig.folder / "PC-ADMIN");
    rig.SelectedNode = AdminNode;
    rig.commands->BuildSelected();
    EXPECT_EQ(rig.dialog.status, "System built for 10.0.0.6");
    EXPECT_NE(rig.file("PC-ADMIN", "report"), "<none>");
    EXPECT_EQ(rig.driveEntries(), 4u);
    EXPECT_EQ(rig.table.at(AdminNode).Scanned, "Scanned");
    std::filesystem::remove_all(rig.folder / "PC-ADMIN");

    // An older diagnostics file that the new one cannot replace is not evaluated.
    std::filesystem::create_directory(rig.folder / "PC-ADMIN");
    std::ofstream(rig.folder / "PC-ADMIN" / "sen_cd", std::ios::binary) << "1\r\n3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue\r\n\r\n";
    std::filesystem::rename(rig.folder / "PC-ADMIN", rig.folder / "PC-ADMIN.old");
    std::ofstream(rig.folder / "PC-ADMIN", std::ios::binary) << "a file where the folder should be";
    rig.commands->DiagnoseSelected();
    EXPECT_EQ(rig.dialog.status, "Unable to write PC-ADMIN/sen_cd");
    EXPECT_NE(rig.dialog.detail.find("the folder cannot be made"), std::string::npos) << rig.dialog.detail;
    EXPECT_FALSE(rig.saw("Sensor data collected "));
    EXPECT_TRUE(rig.dialog.visible);
    EXPECT_FALSE(rig.window.busy);
    EXPECT_EQ(rig.table.at(AdminNode).Scanned, "Access denied") << "a failed node is never Scanned";
    EXPECT_EQ(rig.grids.green, "0");
    EXPECT_EQ(rig.commands->results().table.DriveCount(), 0u);
}

TEST(InventoryCommands, LocalCommandsUseThisComputerWithNoLogin)
{
    Rig rig;
    rig.SelectedNode = AdminNode;
    rig.table.at(Local).Login = "someone"; // the local rule clears the connection whatever the record says
    rig.table.at(Local).Password = "pw";
    rig.commands->BuildLocal();
    EXPECT_EQ(rig.SelectedNode, Local);
    EXPECT_EQ(rig.commands->connection().server, "");
    EXPECT_EQ(rig.commands->connection().user, "");
    EXPECT_EQ(rig.commands->connection().password, "");
    EXPECT_EQ(rig.file("WS-ADMIN", "report"), "CD\r\n2\r\nX1:\r\nDRIVE 1\r\nX2:\r\nDRIVE 2\r\n\r\n");
    EXPECT_EQ(rig.driveEntries(), 2u);
    EXPECT_EQ(rig.dialog.status, "System built for someone192.168.1.10");
    EXPECT_EQ(rig.table.at(Local).Scanned, "Scanned");

    rig.commands->DiagnoseLocal();
    EXPECT_EQ(rig.commands->DiagnosedNode(), Local);
    EXPECT_EQ(rig.grids.green, "2");
    EXPECT_EQ(rig.dialog.status, "System scanned for someone192.168.1.10");
    EXPECT_FALSE(rig.window.busy);
    EXPECT_FALSE(rig.dialog.busy);
}

TEST(InventoryCommands, LocalCommandsWithoutThisComputerInTheTableWriteNothing)
{
    Rig rig;
    rig.LocalNode = 0;
    rig.SelectedNode = AdminNode;
    rig.commands->BuildLocal();
    rig.commands->DiagnoseLocal();
    EXPECT_EQ(rig.dialog.status, NoLocalNodeText);
    EXPECT_EQ(rig.window.message, NoLocalNodeText);
    EXPECT_EQ(rig.SelectedNode, AdminNode);
    EXPECT_FALSE(rig.dialog.visible);
    EXPECT_FALSE(rig.window.busy);
    EXPECT_EQ(rig.file("WS-ADMIN", "report"), "<none>");
    EXPECT_EQ(rig.file("WS-ADMIN", "sen_cd"), "<none>");
}

TEST(InventoryCommands, ForwardingItemsDoNothingWhileTheTableIsEmpty)
{
    Rig rig;
    rig.table = NodeTable{};
    rig.SelectedNode = 0;
    EXPECT_TRUE(rig.commands->ScanNode());
    EXPECT_TRUE(rig.commands->ScanLocal());
    EXPECT_TRUE(rig.commands->CurrentDiagnostics());
    EXPECT_TRUE(rig.commands->LocalDiagnostics());
    EXPECT_TRUE(rig.dialog.statuses.empty());
    EXPECT_FALSE(rig.dialog.visible);
}

TEST(InventoryCommands, TwelveDrivesAreAllDiagnosedAndTenShown)
{
    Rig rig;
    rig.SelectedNode = Twelve;
    rig.commands->ScanNode();
    EXPECT_EQ(rig.driveEntries(), 10u);
    EXPECT_EQ(rig.units.units, 10);
    rig.commands->CurrentDiagnostics();
    EXPECT_EQ(rig.commands->results().table.DriveCount(), 12u);
    EXPECT_EQ(rig.grids.green, "12");
    EXPECT_EQ(rig.painter.painted.size(), 10u);
    EXPECT_EQ(rig.painter.painted.back().first, "Frame0Cylinder_a10");
}

TEST(InventoryCommands, DoubleClickShowsTheStoredReportAndDiagnosticsWithoutAsking)
{
    Rig rig;
    rig.SelectedNode = AdminNode;
    rig.commands->BuildSelected();
    rig.commands->DiagnoseSelected();
    rig.settings.AdminPassword = "wrong-pw"; // a connection would now be refused
    rig.dialog.statuses.clear();
    rig.tree.clear();
    EXPECT_TRUE(rig.commands->ShowStoredNode());
    EXPECT_EQ(rig.dialog.statuses.front(), "Preparing to build virtual model...");
    EXPECT_EQ(rig.dialog.caption, "Status");
    EXPECT_EQ(rig.dialog.status, "");
    EXPECT_FALSE(rig.saw("Connecting to WMI 10.0.0.6"));
    EXPECT_EQ(rig.driveEntries(), 4u);
    EXPECT_EQ(rig.grids.green, "4");
    EXPECT_EQ(rig.commands->results().table.DriveCount(), 4u) << "reset first, so not doubled";
    EXPECT_FALSE(rig.window.busy);
}

// The progress window's Cancel ends the call under way: nothing written, the node as it was.
TEST(InventoryCommands, CancelEndsASingleNodesCallUnderWay)
{
    Rig rig(true);
    rig.SelectedNode = Slow;
    QTimer::singleShot(60, [&] { rig.commands->cancel(); });
    EXPECT_TRUE(rig.commands->DiagnoseSelected());
    EXPECT_EQ(rig.dialog.status, "Cancelled for 10.0.0.9");
    EXPECT_EQ(rig.dialog.detail, "cancelled");
    EXPECT_EQ(rig.file("PC-SLOW", "sen_cd"), "<none>");
    EXPECT_EQ(rig.table.at(Slow).Scanned, "False") << "a cancelled node is not refused";
    EXPECT_FALSE(rig.flags.AccessDenied);
    // The next command is not cancelled by the Cancel of the one before.
    EXPECT_TRUE(rig.commands->DiagnoseSelected());
    EXPECT_EQ(rig.dialog.status, "System scanned for 10.0.0.9");
}

TEST(InventoryCommands, SlowNodeKeepsTheEventLoopRunningAndRefusesASecondCommand)
{
    Rig rig(true);
    rig.SelectedNode = Slow;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    bool secondAccepted = true;
    std::string statusSeen;
    QTimer::singleShot(60, [&] {
        secondAccepted = rig.commands->DiagnoseLocal();
        statusSeen = rig.window.message;
    });
    EXPECT_TRUE(rig.commands->DiagnoseSelected());
    EXPECT_GE(ticks, 10) << "the window kept handling events while the node answered";
    EXPECT_FALSE(secondAccepted);
    EXPECT_EQ(statusSeen, CommandGate::busyText);
    EXPECT_EQ(rig.grids.green, "1");
    EXPECT_EQ(rig.dialog.status, "System scanned for 10.0.0.9");
    EXPECT_EQ(rig.file("WS-ADMIN", "sen_cd"), "<none>") << "the refused command did nothing";
}

TEST(InventoryCommands, EndingProgramStopsAfterTheCallItWaitsFor)
{
    Rig rig(true);
    rig.SelectedNode = Slow;
    QTimer::singleShot(30, [&] { rig.ending = true; });
    rig.commands->BuildSelected();
    EXPECT_EQ(rig.file("PC-SLOW", "report"), "<none>");
    EXPECT_EQ(rig.driveEntries(), 0u);
}

} // namespace
} // namespace vorlu

namespace vorlu {
namespace {

// A node answering beyond every cap: what is kept, written and shown is cut
// to the caps, and the status line says what was cut.
TEST(InventoryCommands, AHostileAnswerIsCutToTheCapsAndTheCutIsTold)
{
    struct Case {
        const char* what;
        std::size_t drives;
        std::size_t nameBytes;
        std::size_t reportDrives;
        std::size_t reportNameBytes;
        const char* note;
    };
    const Case cases[] = {
        {"a hundred thousand drives", 100000, 8, 1000, 8, " (the node's answer was cut: the first 1000 of 100000 drives kept)"},
        {"a value of 100 MB", 1, 100u << 20, 1, 4096, " (the node's answer was cut: 1 value shortened to 4096 bytes)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::AnsweringManagement service([&c](const std::string&) {
            std::vector<WmiRow> rows;
            rows.reserve(c.drives);
            for (std::size_t k = 0; k < c.drives; ++k)
                rows.emplace_back(std::vector<std::pair<std::string, std::optional<std::string>>>{
                    {"Drive", "X:"}, {"Name", std::string(c.nameBytes, 'n')}, {"Status", "OK"}, {"Availability", "3"}});
            return rows;
        });
        Rig rig(false, &service);
        rig.SelectedNode = AdminNode;
        EXPECT_TRUE(rig.commands->BuildSelected());
        EXPECT_EQ(rig.window.message, "System built for 10.0.0.6" + std::string(c.note));
        const std::string report = rig.file("PC-ADMIN", "report");
        const auto parsed = parseInventoryReport(report);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->InventoryCount, static_cast<long long>(c.reportDrives));
        EXPECT_EQ(parsed->drives.at(0).name.size(), c.reportNameBytes);
        EXPECT_LT(report.size(), c.reportDrives * (c.reportNameBytes + 8) + 16);

        EXPECT_TRUE(rig.commands->DiagnoseSelected());
        EXPECT_EQ(rig.window.message, "System scanned for 10.0.0.6" + std::string(c.note));
        EXPECT_EQ(rig.grids.green, std::to_string(c.reportDrives));
        EXPECT_EQ(rig.grids.rows(StateGrid::Green).size(), c.reportDrives);
    }
}

TEST(InventoryCommands, AnAnswerWithinTheCapsIsKeptWhole)
{
    std::vector<WmiRow> rows(MaxKeptDrives, WmiRow({{"Name", std::string(MaxKeptValueBytes, 'n')}, {"Status", std::nullopt}}));
    const AnswerCut cut = boundAnswer(rows);
    EXPECT_FALSE(cut.any());
    EXPECT_EQ(answerCutNote(cut), "");
    EXPECT_EQ(rows.size(), MaxKeptDrives);
    EXPECT_EQ(rows.back().property("Name")->size(), MaxKeptValueBytes);
}

TEST(InventoryCommands, ACutValueKeepsWholeCharactersAndExtraPropertiesAreDropped)
{
    // "é" is two bytes: one that would end at the cap is left out whole.
    std::vector<std::pair<std::string, std::optional<std::string>>> props{
        {"Name", std::string(MaxKeptValueBytes - 1, 'n') + "\xc3\xa9tail"}};
    for (std::size_t k = 0; k < MaxKeptProperties + 4; ++k)
        props.emplace_back("P" + std::to_string(k), "v");
    std::vector<WmiRow> rows{WmiRow(props)};
    const AnswerCut cut = boundAnswer(rows);
    EXPECT_EQ(rows[0].property("Name"), std::string(MaxKeptValueBytes - 1, 'n'));
    EXPECT_EQ(rows[0].properties().size(), MaxKeptProperties);
    EXPECT_EQ(answerCutNote(cut),
              " (the node's answer was cut: 1 value shortened to 4096 bytes, 5 properties beyond 16 a drive dropped)");
}

TEST(InventoryCommands, AStoredDiagnosticsFileIsEvaluatedUpToTheDriveCap)
{
    std::string sen_cd = "100000\r\n";
    for (int k = 0; k < 100000; ++k)
        sen_cd += "3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue\r\n";
    DriveResults results;
    test::RecordingGrids grids;
    test::RecordingPainter painter;
    presentEvaluation(evaluateDiagnostics(sen_cd), {"10.0.0.6", "PC-ADMIN"}, results, grids, painter);
    EXPECT_EQ(results.total(StateGrid::Green), static_cast<long long>(MaxKeptDrives));
    EXPECT_EQ(grids.rows(StateGrid::Green).size(), MaxKeptDrives);
}

} // namespace
} // namespace vorlu
