#include "support/FleetTestNetwork.h"

#include "fleet/DiagnoseAll.h"
#include "fleet/FleetRows.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

namespace vorlu {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::size_t filesIn(const fs::path& folder)
{
    std::size_t n = 0;
    if (fs::exists(folder))
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
            ++n;
    return n;
}

NodeTable simNodes(int count)
{
    NodeTable table;
    for (int i = 1; i <= count; ++i)
        table.append(simNode(i));
    return table;
}

DiagnosisSettings settingsIn(const QTemporaryDir& dir) { return {dir.path().toStdString(), "", "", "root\\cimv2"}; }

TEST(DiagnoseAll, MarksEveryNodeInOrderAndWritesItsFiles)
{
    const auto net = simNetwork(simComputer(1, simDrive("D:", "OK")) + "," +
                                simComputer(2, simDrive("D:", "OK") + "," + simDrive("E:", "Error")) + "," +
                                simComputer(3, "", 0, false));
    SimulatedManagement management(net);
    QTemporaryDir dir;
    NodeTable table = simNodes(3);
    const DiagnosisSettings settings = settingsIn(dir);
    std::vector<std::size_t> done;
    const std::atomic<bool> cancel{false};
    const FleetRun run = diagnoseAll(table, management, settings, 16, cancel, [&](const FleetProgress& p) {
        if (done.empty() || done.back() != p.done)
            done.push_back(p.done);
    });

    EXPECT_FALSE(run.cancelled);
    EXPECT_EQ(done.back(), 3u);
    EXPECT_EQ(table.at(1).Scanned, "Scanned");
    EXPECT_EQ(table.at(2).Scanned, "Scanned");
    EXPECT_EQ(table.at(3).Scanned, "Access denied");
    EXPECT_TRUE(fs::exists(fs::path(settings.programFolder) / "PC2" / "sen_cd"));
    EXPECT_TRUE(fs::exists(fs::path(settings.programFolder) / "PC2" / "report"));
    EXPECT_FALSE(fs::exists(fs::path(settings.programFolder) / "PC3"));

    const auto rows2 = fleetRowsOf(table.at(2), run.outcomes[1]);
    ASSERT_EQ(rows2.size(), 2u);
    EXPECT_EQ(rows2[1].drive, "E:");
    EXPECT_EQ(rows2[1].state, FleetState::Red);
    EXPECT_EQ(rows2[1].statusText, "Error");
    const auto rows3 = fleetRowsOf(table.at(3), run.outcomes[2]);
    ASSERT_EQ(rows3.size(), 1u);
    EXPECT_EQ(rows3[0].state, FleetState::NotReached);
    EXPECT_FALSE(rows3[0].reason.empty());
}

TEST(DiagnoseAll, CancelLetsFinishedNodesCompleteAndTouchesNoOther)
{
    std::string computers;
    for (int i = 1; i <= 8; ++i)
        computers += (i > 1 ? "," : "") + simComputer(i, simDrive("D:", "OK"), 20);
    const auto net = simNetwork(computers);
    SimulatedManagement management(net);
    QTemporaryDir dir;
    NodeTable table = simNodes(8);
    const DiagnosisSettings settings = settingsIn(dir);
    std::atomic<bool> cancel{false};
    const FleetRun run = diagnoseAll(table, management, settings, 2, cancel, [&](const FleetProgress& p) {
        if (p.done >= 2)
            cancel = true;
    });

    EXPECT_TRUE(run.cancelled);
    std::size_t finished = 0;
    for (std::size_t n = 1; n <= 8; ++n) {
        const fs::path folder = fs::path(settings.programFolder) / table.at(n).Name;
        if (run.outcomes[n - 1]) {
            ++finished;
            EXPECT_EQ(table.at(n).Scanned, "Scanned");
            EXPECT_EQ(filesIn(folder), 2u) << "sen_cd and report, no temporary file";
        } else {
            EXPECT_EQ(table.at(n).Scanned, "False");
            EXPECT_FALSE(fs::exists(folder));
        }
    }
    EXPECT_GE(finished, 2u);
    EXPECT_LT(finished, 8u);
    // Finished nodes form the front of the table.
    for (std::size_t n = 1; n < finished; ++n)
        EXPECT_TRUE(run.outcomes[n - 1].has_value());
}

} // namespace
} // namespace vorlu

namespace vorlu {
namespace {

using namespace test;

TEST(DiagnoseAll, TwoRunsRecordTheDriveTurningRedInTheProgramFolderHistory)
{
    QTemporaryDir dir;
    NodeTable table = simNodes(1);
    const std::atomic<bool> cancel{false};
    std::vector<FleetRow> rows;
    for (const char* status : {"OK", "Error"}) {
        SimulatedManagement management(simNetwork(simComputer(1, simDrive("D:", status))));
        const FleetRun run = diagnoseAll(table, management, settingsIn(dir), 16, cancel);
        ASSERT_EQ(recordHistory(dir.path().toStdString(), table, run, rows), "");
    }
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].state, FleetState::Red);
    EXPECT_EQ(rows[0].since, rows[0].lastDiagnosed);
    ASSERT_EQ(rows[0].changes.size(), 2u);
    EXPECT_EQ(rows[0].changes[0].from, "");
    EXPECT_EQ(rows[0].changes[0].state, "green");
    EXPECT_EQ(rows[0].changes[0].statusText, "OK");
    EXPECT_EQ(rows[0].changes[1].from, "green");
    EXPECT_EQ(rows[0].changes[1].state, "red");
    EXPECT_EQ(rows[0].changes[1].statusText, "Error");
    EXPECT_EQ(rows[0].changes[1].at, rows[0].lastDiagnosed);
}

} // namespace
} // namespace vorlu
