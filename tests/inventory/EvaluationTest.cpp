// Evaluation of a diagnostics file into the drive table, the grids, the
// counters and the painted parts.
#include "inventory/DriveEvaluation.h"
#include "support/InventoryFakes.h"

#include <gtest/gtest.h>
#include <tuple>

namespace vorlu {
namespace {

using test::RecordingGrids;
using test::RecordingPainter;

// One drive's eight lines.
std::string driveLines(const std::string& availability, const std::string& config, const std::string& status,
                       const std::string& statusInfo = "", const std::string& description = "")
{
    return availability + "\r\n" + config + "\r\nFALSE\r\n" + description + "\r\n21\r\n" + status + "\r\n" +
           statusInfo + "\r\nTrue\r\n";
}

struct Evaluation : ::testing::Test {
    RecordingGrids grids;
    RecordingPainter painter;
    DriveResults results;
    DiagnosedNodeInfo node{"10.0.0.5", "PC-5"};

    void evaluate(const std::string& text)
    {
        presentEvaluation(evaluateDiagnostics(text), node, results, grids, painter);
        ShowDriveCounters(results, grids);
    }
};

TEST_F(Evaluation, EdgeCasesOfOneDrive)
{
    const struct {
        std::string lines;
        int colour;
        StateGrid grid;
        std::string row; // empty: no row in any grid
    } cases[] = {
        {driveLines("3", "0", "OK"), StatusColour::Green, StateGrid::Green, "<ok>|CD 1|OK|10.0.0.5|PC-5"},
        {driveLines("3", "0", ""), StatusColour::Amber, StateGrid::Amber, ""},
        {driveLines("7", "", ""), StatusColour::Red, StateGrid::Red, ""},
        {driveLines(" 4 ", "10.0", "pReD fAiL"), StatusColour::Red, StateGrid::Red, "|CD 1|Predict Fail|10.0.0.5|PC-5"},
        {driveLines("", "", "starting"), StatusColour::Green, StateGrid::Green, "|CD 1|Starting|10.0.0.5|PC-5"},
        {driveLines("", "", ""), StatusColour::None, StateGrid::Green, ""},
    };
    for (const auto& c : cases) {
        resetDriveResults(results, grids, painter);
        evaluate("1\r\n" + c.lines + "\r\n");
        ASSERT_EQ(results.table.DriveCount(), 1u) << c.lines;
        EXPECT_EQ(results.table[1].colour, c.colour) << c.lines;
        EXPECT_EQ(painter.painted, (std::vector<std::pair<std::string, int>>{{"Frame0Cylinder_a1", c.colour}}));
        const long long rows = c.row.empty() ? 0 : 1;
        EXPECT_EQ(grids.rows(c.grid), c.row.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.row});
        EXPECT_EQ(results.total(c.grid), rows) << c.lines;
        EXPECT_EQ(results.total(StateGrid::Green) + results.total(StateGrid::Amber) + results.total(StateGrid::Red),
                  rows);
    }
}

TEST_F(Evaluation, DetailFieldsOfADrive)
{
    evaluate("1\r\n" + driveLines("13", "22", "Pred Fail", "4", " Seek ERROR ") + "\r\n");
    const DriveStatus& d = results.table[1];
    EXPECT_EQ(d.label, "CD 1");
    EXPECT_EQ(d.status, "Pred Fail");
    EXPECT_EQ(d.availabilityText,
              "Power Save - The device is known to be in a power save mode, but its exact status is unknown.");
    EXPECT_EQ(d.configManagerErrorText, "This device is disabled. ");
    EXPECT_EQ(d.errorCleared, "false");
    EXPECT_EQ(d.errorDescription, "seek error");
    EXPECT_EQ(d.lastErrorCode, "21");
    EXPECT_EQ(d.statusInfoText, "Disabled");
    EXPECT_EQ(grids.red, "1");
    EXPECT_EQ(grids.amber, "0");
    EXPECT_EQ(grids.green, "0");
}

TEST_F(Evaluation, EachDrivePaintsItsOwnUnitAndStartsFromNoState)
{
    std::string text = "5\r\n" + driveLines("7", "", "") + driveLines("", "", "") + driveLines("3", "0", "OK") +
                       driveLines("", "", "Error") + driveLines("", "", "Unknown") + "\r\n";
    evaluate(text);
    EXPECT_EQ(painter.painted, (std::vector<std::pair<std::string, int>>{
                                   {"Frame0Cylinder_a1", StatusColour::Red},
                                   {"Frame0Cylinder_a2", StatusColour::None},
                                   {"Frame0Cylinder_a3", StatusColour::Green},
                                   {"Frame0Cylinder_a4", StatusColour::Red},
                                   {"Frame0Cylinder_a5", StatusColour::Amber}}));
    EXPECT_EQ(grids.rows(StateGrid::Red), std::vector<std::string>{"|CD 4|Error|10.0.0.5|PC-5"});
    EXPECT_EQ(grids.rows(StateGrid::Amber), std::vector<std::string>{"|CD 5|Unknown|10.0.0.5|PC-5"});
    EXPECT_EQ((std::vector<std::string>{grids.red, grids.amber, grids.green}),
              (std::vector<std::string>{"1", "1", "1"}));
}

TEST_F(Evaluation, ShortFileKeepsWhatCameBeforeAndTwiceWithoutResetDoubles)
{
    evaluate("3\r\n" + driveLines("3", "0", "OK") + "3\r\n0\r\n");
    EXPECT_EQ(results.table.DriveCount(), 2u);
    EXPECT_EQ(grids.green, "1");
    EXPECT_EQ(painter.painted.size(), 1u);

    resetDriveResults(results, grids, painter);
    EXPECT_EQ(results.table.DriveCount(), 0u);
    EXPECT_EQ(grids.green, "0");
    EXPECT_EQ(painter.restores, 1);
    const std::string two = "2\r\n" + driveLines("3", "0", "OK") + driveLines("3", "0", "ok") + "\r\n";
    evaluate(two);
    evaluate(two);
    EXPECT_EQ(results.table.DriveCount(), 4u);
    EXPECT_EQ(results.table[3].label, "CD 1");
    EXPECT_EQ(grids.rows(StateGrid::Green).size(), 4u);
    EXPECT_EQ(grids.green, "4");
}

TEST_F(Evaluation, MoreThan255DrivesAreCountedAndOnlyTenPartsPainted)
{
    std::string text = "300\r\n";
    for (int k = 0; k < 300; ++k)
        text += driveLines("3", "0", "OK");
    evaluate(text + "\r\n");
    EXPECT_EQ(results.table.DriveCount(), 300u);
    EXPECT_EQ(results.table[300].label, "CD 300");
    EXPECT_EQ(grids.green, "300");
    EXPECT_EQ(painter.painted.size(), 10u);
}

TEST_F(Evaluation, MissingOrEmptyCountChangesNothing)
{
    for (const char* text : {"", "0\r\n\r\n", "-2\r\n", "none\r\n3\r\n"}) {
        evaluate(text);
        EXPECT_EQ(results.table.DriveCount(), 0u) << text;
        EXPECT_EQ(grids.green, "0");
    }
}

// The evaluation alone, with no grid and no model: what every path shows is decided here.
TEST(PureEvaluation, DrivesColoursGridTextsAndCounters)
{
    using G = StateGrid;
    const struct {
        const char* name;
        std::string text;
        std::vector<std::tuple<int, std::optional<StateGrid>, std::string, bool>> drives; // colour, grid, text, painted
        std::array<long long, 3> totals;
    } cases[] = {
        {"ok", "1\r\n" + driveLines("3", "0", "OK") + "\r\n", {{StatusColour::Green, G::Green, "OK", true}}, {1, 0, 0}},
        {"status decides over availability and config", "1\r\n" + driveLines("7", "22", "no contact") + "\r\n",
         {{StatusColour::Amber, G::Amber, "No Contact", true}}, {0, 1, 0}},
        {"config error, unknown status", "1\r\n" + driveLines("3", "22", "odd") + "\r\n",
         {{StatusColour::Amber, std::nullopt, "", true}}, {0, 0, 0}},
        {"two drives, one red", "2\r\n" + driveLines("3", "0", "OK") + driveLines("", "", "Error") + "\r\n",
         {{StatusColour::Green, G::Green, "OK", true}, {StatusColour::Red, G::Red, "Error", true}}, {1, 0, 1}},
        {"cut before StatusInfo", "1\r\n3\r\n0\r\nFALSE\r\n\r\n21\r\nError\r\n",
         {{StatusColour::Red, G::Red, "Error", false}}, {0, 0, 1}},
        {"cut before Status", "1\r\n3\r\n0\r\n", {{StatusColour::None, std::nullopt, "", false}}, {0, 0, 0}},
        {"no count", "", {}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DriveEvaluation e = evaluateDiagnostics(c.text);
        ASSERT_EQ(e.drives.size(), c.drives.size());
        for (std::size_t k = 0; k < e.drives.size(); ++k) {
            const auto& [colour, grid, text, painted] = c.drives[k];
            EXPECT_EQ(e.drives[k].status.colour, colour);
            EXPECT_EQ(e.drives[k].grid, grid);
            EXPECT_EQ(e.drives[k].gridText, text);
            EXPECT_EQ(e.drives[k].painted, painted);
        }
        EXPECT_EQ(e.totals, c.totals);
    }
}

} // namespace
} // namespace vorlu
