// The headless check on the real executable: no display, the exit code of a
// monitoring plugin and the export it was asked for.
#include "e2e/Launch.h"
#include "nodes/NodeFile.h"
#include "support/FleetTestNetwork.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vorlu::e2e {
namespace {

using namespace vorlu::test;

// No display of any kind: a window made by mistake would end the run.
QProcessEnvironment noDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    return env;
}

class DiagnoseAllCheck : public ::testing::Test {
protected:
    // The network file and a node file listing computers 1..nodes.
    void prepare(const std::string& computers, int nodes)
    {
        QFile net(dir_.filePath("network.json"));
        ASSERT_TRUE(net.open(QIODevice::WriteOnly));
        net.write(QByteArray::fromStdString(R"({"localAddress": "10.255.255.254", "computers": [)" + computers + "]}"));
        net.close();
        NodeTable table;
        for (int i = 1; i <= nodes; ++i)
            table.append(simNode(i));
        QDir().mkpath(dir_.filePath("program"));
        ASSERT_TRUE(saveNodeFile(dir_.filePath("program/lg.ini").toStdString(), table, NodeFileForm::Plain));
    }
    RunResult check(QStringList extra = {})
    {
        QStringList args{"--diagnose-all", "--network", dir_.filePath("network.json"), "--data-dir",
                         dir_.filePath("program")};
        return runToEnd(programPath(), args + extra, noDisplay(), 60000);
    }
    QTemporaryDir dir_;
};

TEST_F(DiagnoseAllCheck, ExportsEveryDriveAsJsonAndEndsCriticalOnARedDriveAndARefusal)
{
    prepare(simComputer(1, simDrive("D:", "OK")) + "," +
                simComputer(2, simDrive("D:", "OK") + "," + simDrive("E:", "Degraded")) + "," +
                simComputer(3, "", 0, false),
            3);
    const QString out = dir_.filePath("out.json");
    const RunResult r = check({"--export", out});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 2) << r.out.toStdString() << r.err.toStdString();
    const QStringList lines = nonEmptyLines(r.out);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("OPTICAL CRITICAL - 2 green, 0 amber, 1 red, 1 nodes not reached |"));
    EXPECT_TRUE(lines[1] == "RED PC2 (10.0.0.2) E: DVD E:: Degraded") << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("NOT REACHED PC3 (10.0.0.3)")) << lines[2].toStdString();

    QFile json(out);
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonObject doc = QJsonDocument::fromJson(json.readAll()).object();
    EXPECT_EQ(doc["version"].toString(), "1.60");
    const QJsonArray drives = doc["drives"].toArray();
    ASSERT_EQ(drives.size(), 4);
    EXPECT_EQ(drives[2].toObject()["state"].toString(), "red");
    EXPECT_EQ(drives[2].toObject()["drive"].toString(), "E:");
    EXPECT_EQ(drives[3].toObject()["state"].toString(), "not reached");
    EXPECT_FALSE(drives[3].toObject()["reason"].toString().isEmpty());
    EXPECT_EQ(doc["counters"].toObject()["green"].toInt(), 2);
    EXPECT_TRUE(QFile::exists(dir_.filePath("program/PC2/sen_cd")));
}

// A node without an address is never answered by this computer: refused with
// "no address" and nothing written; a drive whose codes match no row is "unknown".
TEST_F(DiagnoseAllCheck, ANodeWithoutAnAddressIsRefusedAndNeverGivenThisComputersDrives)
{
    const std::string oddDrive = R"({"Drive": "D:", "Name": "DVD D:", "Availability": 999, "ConfigManagerErrorCode": 999,
                                     "Status": "Weird"})";
    prepare(simComputer(1, oddDrive) + "," +
                R"({"name": "HERE", "address": "10.255.255.254", "management": {"reachable": true,
                    "accounts": [{"user": "", "password": ""}], "cdromDrives": [)" +
                simDrive("Z:", "OK") + "]}}",
            1);
    NodeTable table;
    table.append(simNode(1));
    NodeRecord noAddress = simNode(9);
    noAddress.IP.clear();
    table.append(noAddress);
    ASSERT_TRUE(saveNodeFile(dir_.filePath("program/lg.ini").toStdString(), table, NodeFileForm::Plain));
    const QString out = dir_.filePath("out.json");
    const RunResult r = check({"--export", out});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 2) << r.out.toStdString() << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("Z:")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("UNKNOWN PC1 (10.0.0.1) D: DVD D:: Weird")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("NOT REACHED PC9 () Access denied: no address")) << r.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("program/PC9"))) << "nothing written for the node";
    QFile json(out);
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonArray drives = QJsonDocument::fromJson(json.readAll()).object()["drives"].toArray();
    ASSERT_EQ(drives.size(), 2);
    EXPECT_EQ(drives[0].toObject()["state"].toString(), "unknown");
    EXPECT_EQ(drives[1].toObject()["reason"].toString(), "no address");
}

TEST_F(DiagnoseAllCheck, ExitCodeFollowsTheWorstDrive)
{
    const struct {
        std::string status;
        int code;
        const char* word;
    } cases[] = {{"OK", 0, "OPTICAL OK - "}, {"Unknown", 1, "OPTICAL WARNING - "}, {"Error", 2, "OPTICAL CRITICAL - "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        prepare(simComputer(1, simDrive("D:", "OK")) + "," + simComputer(2, simDrive("D:", c.status)), 2);
        const RunResult r = check();
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, c.code) << r.out.toStdString();
        EXPECT_TRUE(r.out.startsWith(c.word)) << r.out.toStdString();
    }
}

TEST_F(DiagnoseAllCheck, EndsUnknownWhenItCannotRun)
{
    prepare(simComputer(1, simDrive("D:", "OK")), 1);
    const QStringList cases[] = {{"--bogus"}, {"--export"}, {"--export", dir_.filePath("out.txt")}};
    for (const QStringList& extra : cases) {
        SCOPED_TRACE(extra.join(' ').toStdString());
        const RunResult r = check(extra);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_TRUE(r.out.startsWith("OPTICAL UNKNOWN - ")) << r.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir_.filePath("out.txt")));
    QFile::remove(dir_.filePath("program/lg.ini"));
    const RunResult r = check();
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.out.startsWith("OPTICAL UNKNOWN - no node file")) << r.out.toStdString();
}

} // namespace
} // namespace vorlu::e2e
