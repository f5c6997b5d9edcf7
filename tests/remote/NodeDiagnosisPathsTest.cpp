// One node diagnosis behind every path: the window's drive commands and the
// headless check send the same queries and leave the same files and the same
// mark, on the simulated network and over WS-Management alike.
#include "fleet/HeadlessCheck.h"
#include "inventory/InventoryScanCommands.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "nodes/Settings.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"
#include "remote/WsManManagement.h"
#include "support/InventoryFakes.h"
#include "support/WsManTestServer.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace vorlu {
namespace {

const std::string Drives = R"([{"Drive": "D:", "Name": "DVD D", "Availability": 3, "ConfigManagerErrorCode": 0,
  "ErrorCleared": null, "ErrorDescription": null, "LastErrorCode": null, "Status": "OK", "StatusInfo": null,
  "MediaLoaded": true}])";
const std::string Report = "CD\r\n1\r\nD:\r\nDVD D\r\n\r\n";
const std::string Diagnostics = "1\r\n3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue\r\n\r\n";
const std::string Node = "SRV-ARCHIVE";
const std::string AdminUser = std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User;

struct Case {
    const char* name;
    std::string wmiNamespace = "root\\cimv2";
    std::string password = WsManTestServer::Password;
    bool drivesFail = false;   // the node answers the check, then fails the drive status query
    bool withFolder = true;
    bool scanned = true;   // the node's mark and its files renewed, or "Access denied" and none
    const char* shown = "System scanned for "; // how the diagnostics command's window ends
};

const Case Cases[] = {
    {.name = "success"},
    {.name = "refused login", .password = "wrong", .scanned = false, .shown = "Access denied to "},
    {.name = "failing query after a good check", .drivesFail = true, .scanned = false,
     .shown = "Unable to collect optical drive information for "},
    {.name = "unknown namespace", .wmiNamespace = "root\\nowhere", .scanned = false, .shown = "Access denied to "},
    {.name = "empty namespace line", .wmiNamespace = ""},
    {.name = "node without folder", .withFolder = false},
};

// A node, as one management backend serves it, for one case.
class Backend {
public:
    virtual ~Backend() = default;
    virtual ManagementService& management() = 0;
    virtual std::string address() const = 0;
    // The namespace the case configures.
    virtual std::string nameSpace(const Case& c) const { return c.wmiNamespace; }
};

class SimulatedBackend : public Backend {
public:
    explicit SimulatedBackend(const Case& c)
    {
        // A node whose only namespace is another one answers a check there, then
        // fails the drive status, which is always read in root\cimv2.
        const std::string namespaces = c.drivesFail ? R"(["root\\other"])" : R"(["root\\cimv2"])";
        std::string error;
        auto net = SimulatedNetwork::parse(
            R"({"localAddress": "192.168.1.10", "computers": [{"name": ")" + Node +
                R"(", "address": "10.0.0.6", "management": {"accounts": [{"user": ")" + jsonEscaped(AdminUser) +
                R"(", "password": ")" + WsManTestServer::Password + R"("}], "namespaces": )" + namespaces +
                R"(, "cdromDrives": )" + Drives + "}}]}",
            "net.json", error);
        EXPECT_TRUE(net) << error;
        management_ = std::make_unique<SimulatedManagement>(net);
    }
    ManagementService& management() override { return *management_; }
    std::string address() const override { return "10.0.0.6"; }
    std::string nameSpace(const Case& c) const override { return c.drivesFail ? "root\\other" : c.wmiNamespace; }

private:
    static std::string jsonEscaped(const std::string& s)
    {
        std::string out;
        for (char ch : s)
            out += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
        return out;
    }
    std::unique_ptr<SimulatedManagement> management_;
};

class WsManBackend : public Backend {
public:
    explicit WsManBackend(const Case& c)
        : server_({R"({"classes": {"Win32_CDROMDrive": )" + Drives + R"(, "Win32_ComputerSystem": [{"Name": ")" +
                       Node + R"("}]})" +
                       (c.drivesFail ? R"(, "faults": [{"match": "Availability", "message": "Generic failure"}])"
                                     : "") +
                       "}",
                   "ntlm"}),
          management_([port = server_.port()] {
              RemoteTransport transport;
              transport.port = port;
              return transport;
          })
    {
        EXPECT_TRUE(server_.started()) << server_.error();
    }
    ManagementService& management() override { return management_; }
    std::string address() const override { return "127.0.0.1"; }

private:
    WsManTestServer server_;
    WsManManagement management_;
};

struct Folder {
    QTemporaryDir dir;
    std::filesystem::path path{dir.path().toStdString()};
    std::string file(const char* name) const
    {
        std::ifstream in(path / Node / name, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
    }
};

NodeRecord nodeAt(const std::string& address)
{
    NodeRecord r = discoveredNode(Node);
    r.IP = address;
    return r;
}

// The window's build or diagnostics command on the node; returns the node's mark.
std::string throughTheWindow(Backend& backend, const Case& c, Folder& folder, bool diagnose, std::string& shown)
{
    NodeTable table;
    table.append(discoveredNode("WS-ADMIN"));
    table.append(nodeAt(backend.address()));
    if (c.withFolder)
        std::filesystem::create_directory(folder.path / Node);
    Settings settings;
    settings.AdminUser = AdminUser;
    settings.AdminPassword = c.password;
    settings.WmiNamespace = backend.nameSpace(c);
    std::size_t selected = 2;
    const std::size_t local = 1;
    ScanFlags flags;
    DriveResults results;
    BackgroundWork runner;
    test::RecordingProgress dialog;
    test::RecordingWindow window;
    test::RecordingTree tree;
    test::RecordingGrids grids;
    test::RecordingUnits units;
    CommandGate gate;
    InventoryScanCommands commands({table, settings, selected, local, flags, folder.path, results},
                                   {backend.management(), runner, dialog, window, tree, grids, units, gate, {},
                                    [] { return false; }});
    diagnose ? commands.DiagnoseSelected() : commands.BuildSelected();
    shown = dialog.status + " | " + dialog.detail;
    return table.at(2).Scanned;
}

// The headless check over a node file of the node; returns the node's mark as saved.
std::string throughTheHeadlessCheck(Backend& backend, const Case& c, Folder& folder, std::string& output)
{
    NodeTable table;
    table.append(nodeAt(backend.address()));
    if (c.withFolder)
        std::filesystem::create_directory(folder.path / Node);
    EXPECT_TRUE(saveNodeFile(folder.path / NodeFileName, table, NodeFileForm::Plain));
    Settings settings;
    settings.AdminUser = AdminUser;
    settings.AdminPassword = c.password;
    settings.WmiNamespace = backend.nameSpace(c);
    EXPECT_TRUE(writeSettingsFile(folder.path / SettingsFileName, settings));
    std::ostringstream out;
    runDiagnoseAllCheck({folder.path, std::nullopt, "test"}, backend.management(), out);
    output = out.str();
    std::string text;
    EXPECT_TRUE(readWholeFile(folder.path / NodeFileName, text));
    NodeTable saved;
    parseNodeFile(text, saved);
    return saved.count() == 1 ? saved.at(1).Scanned : "<no node>";
}

template <class B>
void checkEveryPath()
{
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.name);
        B backend(c);
        const char* mark = c.scanned ? "Scanned" : "Access denied";
        {
            Folder folder;
            std::string shown;
            EXPECT_EQ(throughTheWindow(backend, c, folder, false, shown), c.drivesFail ? "Scanned" : mark)
                << "build: the drive list alone does not read the failing status; " << shown;
            EXPECT_EQ(folder.file("report"), c.scanned || c.drivesFail ? Report : "<none>");
            EXPECT_EQ(folder.file("sen_cd"), "<none>");
        }
        {
            Folder folder;
            std::string shown;
            EXPECT_EQ(throughTheWindow(backend, c, folder, true, shown), mark) << shown;
            EXPECT_EQ(folder.file("sen_cd"), c.scanned ? Diagnostics : "<none>");
            EXPECT_EQ(folder.file("report"), "<none>");
            EXPECT_EQ(shown.rfind(c.shown, 0), 0u) << shown;
        }
        {
            Folder folder;
            std::string output;
            EXPECT_EQ(throughTheHeadlessCheck(backend, c, folder, output), mark) << output;
            EXPECT_EQ(folder.file("report"), c.scanned ? Report : "<none>");
            EXPECT_EQ(folder.file("sen_cd"), c.scanned ? Diagnostics : "<none>");
            EXPECT_EQ(output.find(", 0 nodes not reached") != std::string::npos, c.scanned) << output;
        }
    }
}

TEST(NodeDiagnosisPaths, SimulatedNetwork) { checkEveryPath<SimulatedBackend>(); }

TEST(NodeDiagnosisPaths, WsManagement) { checkEveryPath<WsManBackend>(); }

} // namespace
} // namespace vorlu
