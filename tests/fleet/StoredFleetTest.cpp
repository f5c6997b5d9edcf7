#include "support/FleetTestNetwork.h"

#include "fleet/DiagnoseAll.h"
#include "fleet/FleetHistory.h"
#include "fleet/StoredFleet.h"
#include "nodes/AtomicFile.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace vorlu {
namespace {

using namespace test;
namespace fs = std::filesystem;

struct Folder {
    QTemporaryDir dir;
    fs::path path() const { return dir.path().toStdString(); }
    // A run of Diagnose All over the network, recorded as the program records it.
    void run(NodeTable& table, const std::string& computers, bool withHistory = true)
    {
        SimulatedManagement management(simNetwork(computers));
        const std::atomic<bool> cancel{false};
        const FleetRun r = diagnoseAll(table, management, {path(), "", "", "root\\cimv2"}, 16, cancel);
        std::vector<FleetRow> rows;
        if (withHistory) {
            ASSERT_EQ(recordHistory(path(), table, r, rows), "");
        }
    }
};

NodeTable nodes(int count)
{
    NodeTable t;
    for (int i = 1; i <= count; ++i)
        t.append(simNode(i));
    return t;
}

TEST(StoredFleet, AFreshSessionListsEveryNodeFromItsFilesTheHistoryAndTheTablesMarks)
{
    Folder folder;
    NodeTable table = nodes(2);
    folder.run(table, simComputer(1, simDrive("D:", "OK") + "," + simDrive("E:", "OK")) + "," +
                          simComputer(2, "", 0, false));
    folder.run(table, simComputer(1, simDrive("D:", "OK") + "," + simDrive("E:", "Error")) + "," +
                          simComputer(2, "", 0, false));
    table.append(simNode(3)); // in the node file, never diagnosed

    const auto rows = storedFleetRows(folder.path(), table);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].drive, "D:");
    EXPECT_EQ(rows[0].name, "DVD D:");
    EXPECT_EQ(rows[0].state, FleetState::Green);
    EXPECT_FALSE(rows[0].lastDiagnosed.empty());
    EXPECT_EQ(rows[0].changes.size(), 1u);
    EXPECT_EQ(rows[1].drive, "E:");
    EXPECT_EQ(rows[1].state, FleetState::Red);
    ASSERT_EQ(rows[1].changes.size(), 2u);
    EXPECT_EQ(rows[1].changes[1].from, "green");
    EXPECT_EQ(rows[1].changes[1].state, "red");
    EXPECT_EQ(rows[1].since, rows[1].changes[1].at);

    EXPECT_EQ(rows[2].nodeName, "PC2");
    EXPECT_EQ(rows[2].state, FleetState::NotReached);
    EXPECT_EQ(rows[2].statusText, "Access denied");
    EXPECT_FALSE(rows[2].reason.empty());
    EXPECT_FALSE(rows[2].lastDiagnosed.empty());

    EXPECT_EQ(rows[3].nodeName, "PC3");
    EXPECT_EQ(rows[3].state, FleetState::NotReached);
    EXPECT_EQ(rows[3].statusText, "Not diagnosed");
    EXPECT_EQ(rows[3].reason, "");
}

TEST(StoredFleet, TheNewerOfTheStoredDiagnosticsAndTheHistoryIsShown)
{
    using namespace std::chrono;
    struct Case {
        const char* what;
        const char* fileTime;    // of sen_cd, UTC
        const char* historyTime; // of the node's latest recorded diagnosis
        FleetState shown;
    };
    for (const Case& c : {Case{"a single node's scan after the last run", "2026-12-10T09:00:00Z",
                               "2026-12-09T02:00:00Z", FleetState::Green},
                          Case{"a run that failed after the files were written", "2026-12-09T02:00:00Z",
                               "2026-12-10T02:00:00Z", FleetState::NotReached}}) {
        SCOPED_TRACE(c.what);
        Folder folder;
        NodeTable table = nodes(1);
        folder.run(table, simComputer(1, simDrive("D:", "OK")), false);
        const fs::path senCd = folder.path() / "PC1" / "sen_cd";
        const auto fileTime = seconds(QDateTime::fromString(c.fileTime, Qt::ISODate).toSecsSinceEpoch());
        fs::last_write_time(senCd, file_clock::from_sys(sys_seconds(fileTime)));
        {
            std::string error;
            auto history = FleetHistory::open(folder.path() / HistoryFileName, error);
            ASSERT_TRUE(history) << error;
            FleetRow failed = pc1Drive(FleetState::NotReached, "Not diagnosed", c.historyTime);
            failed.drive.clear();
            failed.reason = "report: timed out";
            ASSERT_TRUE(history->record({failed}));
        }

        const auto rows = storedFleetRows(folder.path(), table);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].state, c.shown);
        if (c.shown == FleetState::NotReached) {
            EXPECT_EQ(rows[0].reason, "report: timed out");
            EXPECT_EQ(rows[0].lastDiagnosed, c.historyTime);
        } else {
            EXPECT_EQ(rows[0].lastDiagnosed, c.fileTime);
        }
    }
}

TEST(StoredFleet, WithoutAHistoryOrWithADamagedOneTheFilesServeAndTheHistoryIsLeftAsItWas)
{
    Folder folder;
    NodeTable table = nodes(1);
    folder.run(table, simComputer(1, simDrive("D:", "Error")), false);
    std::string problem;
    auto rows = storedFleetRows(folder.path(), table, &problem);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].state, FleetState::Red);
    EXPECT_EQ(problem, "");
    EXPECT_FALSE(fs::exists(folder.path() / HistoryFileName)) << "reading creates no history";

    const std::string garbage = "no database here";
    ASSERT_TRUE(writeFileAtomically(folder.path() / HistoryFileName, garbage));
    rows = storedFleetRows(folder.path(), table, &problem);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].state, FleetState::Red);
    EXPECT_NE(problem.find("left as it is"), std::string::npos) << problem;
    std::string after;
    ASSERT_TRUE(readWholeFile(folder.path() / HistoryFileName, after));
    EXPECT_EQ(after, garbage);
}

} // namespace
} // namespace vorlu
