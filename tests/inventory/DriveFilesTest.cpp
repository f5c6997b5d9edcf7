// The report and diagnostics files byte for byte, the report reader and the
// hardware tree entries it gives.
#include "inventory/DiagnosticsFile.h"
#include "inventory/InventoryReport.h"
#include "support/InventoryFakes.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using Props = std::vector<std::pair<std::string, std::optional<std::string>>>;

WmiRow drive(std::optional<std::string> letter, std::optional<std::string> name)
{
    return WmiRow(Props{{"Drive", std::move(letter)}, {"Name", std::move(name)}});
}

TEST(InventoryReportFile, LinesAsWritten)
{
    EXPECT_EQ(formatInventoryReport({drive("D:", "DVD-RW GH24"), drive("E:", "BD-RE BR-16X")}),
              "CD\r\n2\r\nD:\r\nDVD-RW GH24\r\nE:\r\nBD-RE BR-16X\r\n\r\n");
    EXPECT_EQ(formatInventoryReport({}), "CD\r\n0\r\n\r\n");
    // No value is an empty line, never the previous row's; a line break cannot forge a line.
    EXPECT_EQ(formatInventoryReport({drive("D:", "First"), drive(std::nullopt, "Two\r\nlines")}),
              "CD\r\n2\r\nD:\r\nFirst\r\n\r\nTwolines\r\n\r\n");
}

TEST(DiagnosticsFile, LinesAsWritten)
{
    const WmiRow withMedia(Props{{"Availability", "3"}, {"ConfigManagerErrorCode", "0"}, {"ErrorCleared", "True"},
                                 {"ErrorDescription", "Tray\nstuck"}, {"LastErrorCode", "21"}, {"Status", "OK"},
                                 {"StatusInfo", "3"}, {"MediaLoaded", "True"}});
    const WmiRow empty(Props{{"Availability", "8"}, {"ConfigManagerErrorCode", "0"}, {"ErrorCleared", std::nullopt},
                             {"ErrorDescription", std::nullopt}, {"LastErrorCode", std::nullopt},
                             {"Status", "Unknown"}, {"StatusInfo", std::nullopt}, {"MediaLoaded", "False"}});
    EXPECT_EQ(formatDiagnostics({withMedia, empty}),
              "2\r\n3\r\n0\r\nTrue\r\nTraystuck\r\n21\r\nOK\r\n3\r\nTrue\r\n"
              "8\r\n0\r\n\r\n\r\n\r\nUnknown\r\n\r\nFalse\r\n\r\n");
    EXPECT_EQ(formatDiagnostics({}), "0\r\n\r\n");
}

TEST(InventoryReportFile, ReaderCases)
{
    const struct {
        const char* text;
        bool valid;
        long long count;
        std::size_t kept;
    } cases[] = {
        {"CD\r\n2\r\nD:\r\nA\r\nE:\r\nB\r\n\r\n", true, 2, 2},
        {"  CD \r\n3 drives\r\nD:\r\nA\r\nE:\r\nB\r\nF:\r\nC\r\n", true, 3, 3}, // number followed by a word
        {"cd\r\n1\r\nD:\r\nA\r\n", false, 0, 0},                               // lower case: ignored
        {"CD\r\n3\r\nD:\r\nA\r\nE:\r\n", false, 0, 0},                          // fewer lines than promised
        {"CD\r\n0\r\n\r\n", true, 0, 0},
        {"CD\r\nnone\r\n", true, 0, 0},
        {"CD\r\n2.5\r\nD:\r\nA\r\nE:\r\nB\r\n", true, 2, 2}, // half to even
        {"CD\r\n1.5\r\nD:\r\nA\r\nE:\r\nB\r\n", true, 2, 2},
    };
    for (const auto& c : cases) {
        const auto r = parseInventoryReport(c.text);
        ASSERT_EQ(r.has_value(), c.valid) << c.text;
        if (!r)
            continue;
        EXPECT_EQ(r->InventoryCount, c.count) << c.text;
        EXPECT_EQ(r->drives.size(), c.kept) << c.text;
    }
}

TEST(BuildCd, TwelveDrivesShowTenEntriesWithDistinctKeysAndTenUnits)
{
    std::string text = "CD\r\n12\r\n";
    for (int k = 1; k <= 12; ++k)
        text += "X" + std::to_string(k) + ":\r\nDrive " + std::to_string(k) + "\r\n";
    const auto report = parseInventoryReport(text + "\r\n");
    ASSERT_TRUE(report);
    EXPECT_EQ(report->InventoryCount, 12);
    test::RecordingTree tree;
    test::RecordingUnits units;
    build_cd(*report, tree, units, true);
    const auto entries = tree.under("28 node");
    ASSERT_EQ(entries.size(), 10u);
    const char* keys[] = {"28b node", "28e node", "28f node", "28g node", "28h node",
                          "28i node", "28j node", "28m node", "28k node", "28l node"};
    for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_EQ(entries[k].key, keys[k]);
        EXPECT_EQ(entries[k].text, "Drive " + std::to_string(k + 1));
        EXPECT_EQ(entries[k].picture, "dvd");
    }
    EXPECT_EQ(units.units, 10);
    EXPECT_EQ(units.racks, 5);
}

TEST(BuildCd, NoDrivesIsNonDetectedAndRacksFollowTheOption)
{
    test::RecordingTree tree;
    test::RecordingUnits units;
    build_cd(*parseInventoryReport("CD\r\n0\r\n\r\n"), tree, units, true);
    EXPECT_EQ(tree.entries, (std::vector<test::TreeEntry>{{"28 node", "28a node", "NON DETECTED", "nd"}}));
    EXPECT_EQ(units.units, 0);

    const auto three = parseInventoryReport("CD\r\n3\r\nD:\r\nA\r\nE:\r\nB\r\nF:\r\nC\r\n\r\n");
    test::RecordingUnits withRacks, without;
    build_cd(*three, tree, withRacks, true);
    build_cd(*three, tree, without, false);
    EXPECT_EQ(withRacks.units, 3);
    EXPECT_EQ(withRacks.racks, 2);
    EXPECT_EQ(without.units, 3);
    EXPECT_EQ(without.racks, 0);
}

} // namespace
} // namespace vorlu
