#include "nodes/AdminRules.h"
#include "nodes/AtomicFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

using Boxes = std::array<bool, 3>;

NodeTable nodesScanned(std::initializer_list<const char*> scanned)
{
    NodeTable t;
    for (const char* s : scanned) {
        NodeRecord r = discoveredNode("PC");
        r.Scanned = s;
        t.append(r);
    }
    return t;
}

} // namespace

TEST(LabelBoxRule, TickedBoxSetsItsModeAndUnticksTheOthers)
{
    struct Case {
        std::size_t box;
        Boxes before;
        std::string modeBefore;
        Boxes after;
        std::string modeAfter;
    };
    const Case cases[] = {
        // A click on "IP/Name" has ticked it: the others go, the mode follows.
        {2, {true, true, true}, "IP", {false, false, true}, "IPNAME"},
        {0, {true, false, true}, "", {true, false, false}, "IP"},
        {1, {false, true, false}, "IPNAME", {false, true, false}, "NAME"},
        // Unticking the only ticked box: no box ticked, the mode stays.
        {1, {false, false, false}, "NAME", {false, false, false}, "NAME"},
        // Mouse-down comes before the box changes: an unticked box only clears the others.
        {0, {false, true, false}, "NAME", {false, false, false}, "NAME"},
        // A mode read from the file outside the three values stays until a box is ticked.
        {2, {false, false, false}, "ip", {false, false, false}, "ip"},
    };
    for (const Case& c : cases) {
        Boxes boxes = c.before;
        std::string mode = c.modeBefore;
        applyLabelBoxRule(c.box, boxes, mode);
        EXPECT_EQ(boxes, c.after) << "box " << c.box;
        EXPECT_EQ(mode, c.modeAfter) << "box " << c.box;
    }
    Boxes boxes{true, true, true};
    std::string mode = "IP";
    applyLabelBoxRule(3, boxes, mode); // no such box
    EXPECT_EQ(boxes, (Boxes{true, true, true}));
}

TEST(PasswordCell, ClearWhenShownOneStarPerCharacterOtherwise)
{
    struct Case {
        std::string password;
        bool show;
        std::string cell;
    };
    const Case cases[] = {
        {"hunter", true, "hunter"}, {"abcde", false, "*****"}, {"", false, ""}, {"", true, ""},
        {" a b ", false, "*****"},  {"p\xC3\xA4ss\xE2\x82\xAC", false, "*****"}, // ä and € are one character each
    };
    for (const Case& c : cases)
        EXPECT_EQ(passwordCell(c.password, c.show), c.cell) << c.password;
}

TEST(Statistics, ScannedCountAndNodeCountText)
{
    struct Case {
        NodeTable nodes;
        std::size_t scanned;
    };
    const Case cases[] = {
        {nodesScanned({}), 0},
        {nodesScanned({"Scanned", "Access denied", "False"}), 1},
        {nodesScanned({"scanned", "Scanned ", "True"}), 0}, // exactly "Scanned" only
        {nodesScanned({"Scanned", "Scanned"}), 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scannedCount(c.nodes), c.scanned);
    // Counting again starts from 0: the same table gives the same figure.
    const NodeTable t = nodesScanned({"Scanned", "Access denied", "False"});
    EXPECT_EQ(scannedCount(t), scannedCount(t));

    EXPECT_EQ(signedCountText(12), " 12");
    EXPECT_EQ(signedCountText(0), " 0");
    EXPECT_EQ(signedCountText(40000), " 40000");
}

TEST(ResetNodeList, DeletesTheNodeFileAndIsFineWithoutOne)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    ASSERT_TRUE(writeFileAtomically(folder / "lg.ini", "PC\r\n"));
    ASSERT_TRUE(writeFileAtomically(folder / "vrsopt.ini", "admin\r\n"));
    NodeTable nodes = nodesScanned({"Scanned", "False"});
    std::string error;
    EXPECT_TRUE(resetNodeList(nodes, folder, &error)) << error;
    EXPECT_EQ(nodes.count(), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder / "lg.ini"));
    EXPECT_TRUE(std::filesystem::exists(folder / "vrsopt.ini")) << "the settings file is not the reset's";

    nodes = nodesScanned({"False"});
    EXPECT_TRUE(resetNodeList(nodes, folder, &error)) << "no node file: still a reset";
    EXPECT_EQ(nodes.count(), 0u);

    // A node file that cannot go: the table stays, the reason is given.
    std::filesystem::create_directories(folder / "lg.ini" / "inside");
    nodes = nodesScanned({"False", "Scanned"});
    error.clear();
    EXPECT_FALSE(resetNodeList(nodes, folder, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(nodes.count(), 2u);
}
