#include "fleet/FleetHistory.h"

#include "nodes/AtomicFile.h"
#include "support/FleetTestNetwork.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace vorlu {
namespace {

using test::pc1Drive;

TEST(FleetHistory, ADriveTurningRedAcrossTwoRunsShowsTheChangeAndItsTime)
{
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath("history.sqlite").toStdString();
    std::string error;
    {
        auto history = FleetHistory::open(file, error);
        ASSERT_TRUE(history) << error;
        ASSERT_TRUE(history->record({pc1Drive(FleetState::Green, "OK", "2026-12-09T02:00:00Z")}));
    }
    auto history = FleetHistory::open(file, error); // the second run, on the database the first left
    ASSERT_TRUE(history) << error;
    ASSERT_TRUE(history->record({pc1Drive(FleetState::Green, "OK", "2026-12-10T02:00:00Z")}));
    ASSERT_TRUE(history->record({pc1Drive(FleetState::Red, "Error", "2026-12-11T02:00:00Z")}));
    const auto changes = history->changes("PC1", "D:");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].state, "green");
    EXPECT_EQ(changes[0].at, "2026-12-09T02:00:00Z");
    EXPECT_EQ(changes[1].state, "red");
    EXPECT_EQ(changes[1].statusText, "Error");
    EXPECT_EQ(history->since("PC1", "D:"), "2026-12-11T02:00:00Z");
    EXPECT_EQ(history->since("PC1", "E:"), "");
}

// "Clear" takes the cleared nodes' history with their files, and no other node's.
TEST(FleetHistory, ForgettingNodesDeletesTheirDiagnosesAlone)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::string error;
    EXPECT_TRUE(forgetHistoryOf(folder, {"PC1"}, &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(folder / HistoryFileName)) << "no database made to delete nothing";
    FleetRow other = pc1Drive(FleetState::Red, "Error", "2026-12-10T02:00:00Z");
    other.nodeName = "PC2";
    {
        auto history = FleetHistory::open(folder / HistoryFileName, error);
        ASSERT_TRUE(history) << error;
        ASSERT_TRUE(history->record({pc1Drive(FleetState::Green, "OK", "2026-12-10T02:00:00Z")}));
        ASSERT_TRUE(history->record({other}));
    }
    EXPECT_TRUE(forgetHistoryOf(folder, {"PC1", "PC9"}, &error)) << error;
    auto history = FleetHistory::open(folder / HistoryFileName, error);
    ASSERT_TRUE(history) << error;
    EXPECT_TRUE(history->latest("PC1").empty());
    EXPECT_EQ(history->latest("PC2").size(), 1u);
}

TEST(FleetHistory, ADamagedOrNewerDatabaseIsReportedAndLeftAsItWas)
{
    QTemporaryDir dir;
    const std::filesystem::path damaged = dir.filePath("damaged.sqlite").toStdString();
    const std::string garbage = "this is no database\n\x01\x02";
    ASSERT_TRUE(writeFileAtomically(damaged, garbage));
    std::string error;
    EXPECT_FALSE(FleetHistory::open(damaged, error));
    EXPECT_NE(error.find("left as it is"), std::string::npos) << error;
    std::string after;
    ASSERT_TRUE(readWholeFile(damaged, after));
    EXPECT_EQ(after, garbage);

    const std::filesystem::path newer = dir.filePath("newer.sqlite").toStdString();
    {
        auto h = FleetHistory::open(newer, error);
        ASSERT_TRUE(h) << error;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
        db.setDatabaseName(QString::fromStdString(newer.string()));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("PRAGMA user_version = 99");
        db.close();
    }
    QSqlDatabase::removeDatabase("newer");
    std::string before;
    ASSERT_TRUE(readWholeFile(newer, before));
    error.clear();
    EXPECT_FALSE(FleetHistory::open(newer, error));
    EXPECT_NE(error.find("newer version (99)"), std::string::npos) << error;
    ASSERT_TRUE(readWholeFile(newer, after));
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace vorlu
