#include "network/NodeFileLoader.h"
#include "nodes/NodeFolders.h"
#include "network/NodeTree.h"
#include "network/ScanListOk.h"
#include "nodes/NodeFile.h"
#include "support/ScriptedMessageBoxes.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

using namespace vorlu;

namespace {

// Records entries as "parent>key|text|picture|tag".
class FakeTree : public TreeView {
public:
    std::vector<std::string> entries;
    bool visible = true;
    void clear() override { entries.clear(); }
    void addEntry(const std::string& parent, const std::string& key, const std::string& text,
                  const std::string& picture, std::size_t tag) override
    {
        entries.push_back(parent + ">" + key + "|" + text + "|" + picture + "|" + std::to_string(tag));
    }
    void setVisible(bool v) override { visible = v; }
};

NodeRecord record(const char* name, const char* ip, const char* enabled = "True", const char* login = "")
{
    NodeRecord r = discoveredNode(name);
    r.IP = ip;
    r.Enabled = enabled;
    r.Login = login;
    return r;
}

} // namespace

TEST(NodeTree, EntriesByStateLoginAndLocality)
{
    struct Case {
        NodeRecord r;
        const char* nodeTree;  // entry expected in the node tree, "" for none
        const char* loginTree; // entry expected in the login dialog's tree
        bool local;
    };
    const Case cases[] = {
        {record("PC-1", "10.0.0.1"), "1 node>Node1 5|PC-1|pc|5", "1 node>Node1 5|PC-1|pc|5", false},
        {record("PC-1", "10.0.0.1", "True", "adm"), "1 node>Node1 5|PC-1|pw|5", "1 node>Node1 5|PC-1|pw|5", false},
        {record("PC-1", "10.0.0.1", "Jump", "adm"), "1 node>Node1 5|PC-1|jp|5", "1 node>Node1 5|PC-1|jp|5", false},
        {record("PC-1", "10.0.0.1", "False"), "", "", false},
        {record("ME", "10.0.0.9"), "1 node>Node1 5|ME|hm|5", "", true},
        {record("ME", "10.0.0.9", "True", "adm"), "", "", true},
        {record("ME", "10.0.0.9", "Jump"), "", "", true},
    };
    for (const Case& c : cases) {
        FakeTree tree, login;
        const bool local = addNodeToTree(5, c.r, "NAME", "10.0.0.9", tree, &login);
        EXPECT_EQ(local, c.local) << c.r.Name << c.r.Enabled << c.r.Login;
        EXPECT_EQ(tree.entries.empty() ? "" : tree.entries.front(), std::string(c.nodeTree));
        EXPECT_EQ(login.entries.empty() ? "" : login.entries.front(), std::string(c.loginTree));
    }
}

TEST(NodeTree, LabelModes)
{
    NodeRecord r = record("PC-7", "10.0.0.7");
    struct Case {
        const char* mode;
        const char* node;
        const char* hardwareRoot;
    };
    const Case cases[] = {{"NAME", "PC-7", "PC-7"},
                          {"IP", "10.0.0.7", "10.0.0.7"},
                          {"IPNAME", "PC-7(10.0.0.7)", "PC-7 (10.0.0.7)"},
                          // A fresh install has no mode; a mistyped one must not empty the tree.
                          {"", "PC-7", "PC-7"},
                          {"ip", "PC-7", "PC-7"}};
    for (const Case& c : cases) {
        EXPECT_EQ(nodeText(r, c.mode), c.node) << c.mode;
        EXPECT_EQ(hardwareRootText(r, c.mode), c.hardwareRoot) << c.mode;
    }
    FakeTree hw;
    hw.entries = {"stale"};
    buildHardwareTree(hw, r, "IPNAME");
    EXPECT_EQ(hw.entries, (std::vector<std::string>{">1 node|PC-7 (10.0.0.7)|pc|0",
                                                    "1 node>28 node|DVD/CD Drive|dvd|0"}));
}

TEST(NodeTree, TagsAsTheClickReadsThem)
{
    EXPECT_EQ(selectedNodeFromTag("", 10), 0u);
    EXPECT_EQ(selectedNodeFromTag("7", 10), 7u);
    EXPECT_EQ(selectedNodeFromTag("11", 10), 0u);
    EXPECT_EQ(selectedNodeFromTag("40000", 50000), 40000u) << "no 16-bit limit on record numbers";
}

TEST(NodeTree, FolderNamesFromTheNetworkAreChecked)
{
    for (const char* ok : {"PC-ACCOUNTS", "ws01", "LAPTOP.local", "Büro-3"})
        EXPECT_FALSE(folderNameProblem(ok).has_value()) << ok;
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "../etc", "x..y", "a:b", "a*", "a?", "a\"b", "<a>", "a|b",
                            "tab\tname", "new\nline"})
        EXPECT_TRUE(folderNameProblem(bad).has_value()) << bad;
}

TEST(NodeTree, LoadFillsBothTreesAndFindsThisComputer)
{
    QTemporaryDir dir;
    NodeTable source;
    source.append(record("ME", "10.0.0.9"));
    source.append(record("PC-2", "10.0.0.2", "False"));
    source.append(record("PC-3", "10.0.0.3", "Jump"));
    ASSERT_TRUE(saveNodeFile(dir.path().toStdString() + "/lg.ini", source, NodeFileForm::Plain));

    NodeTable table;
    FakeTree tree, login;
    int yields = 0;
    const NodeFileLoad load =
        loadNodeFile(dir.path().toStdString(), table, "NAME", "10.0.0.9", tree, &login, [&] { ++yields; });
    EXPECT_TRUE(load.existed);
    EXPECT_EQ(load.localNode, 1u);
    EXPECT_EQ(table.count(), 3u);
    EXPECT_EQ(yields, 4) << "once after clearing, once per record";
    EXPECT_EQ(tree.entries, (std::vector<std::string>{">1 node|Network|nw|0", "1 node>Node1 1|ME|hm|1",
                                                      "1 node>Node1 3|PC-3|jp|3"}));
    EXPECT_EQ(login.entries, (std::vector<std::string>{">1 node|Network|nw|0", "1 node>Node1 3|PC-3|jp|3"}));

    QTemporaryDir empty;
    FakeTree hidden;
    NodeTable none;
    const NodeFileLoad missing = loadNodeFile(empty.path().toStdString(), none, "NAME", "", hidden, nullptr, {});
    EXPECT_FALSE(missing.existed);
    EXPECT_EQ(missing.readError, "") << "a missing file is no error";
    EXPECT_FALSE(hidden.visible);

    // There but unreadable: an empty table and the reason, never a silent empty list.
    std::filesystem::create_directory(empty.path().toStdString() + "/lg.ini");
    const NodeFileLoad unreadable = loadNodeFile(empty.path().toStdString(), none, "NAME", "", hidden, nullptr, {});
    EXPECT_TRUE(unreadable.existed);
    EXPECT_EQ(unreadable.readError, "cannot read " + empty.path().toStdString() + "/lg.ini: not a regular file");
    EXPECT_EQ(none.count(), 0u);
}

// A node file beyond the caps is refused whole, before a record is kept, and left as it is.
TEST(NodeTree, NodeFileBeyondTheCapsIsRefusedWhole)
{
    const std::string record = "PC\r\n10.0.0.1\r\nPC\r\nTrue\r\n\r\n\r\nFalse\r\n";
    std::string atCap;
    atCap.reserve(record.size() * (MaxNodeRecords + 1));
    for (std::size_t n = 0; n < MaxNodeRecords; ++n)
        atCap += record;
    struct Case {
        const char* what;
        std::string text;      // the file's content, or empty for a sparse file of the size below
        std::uintmax_t sparse; // bytes
        std::string reason;    // empty: read whole
    };
    const Case cases[] = {
        {"the most records", atCap, 0, ""},
        {"one record more", atCap + "PC", 0, ": more than 250000 records"},
        {"a file longer than 64 MB", "", MaxNodeFileBytes + 1, ": longer than 67108864 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const std::filesystem::path file = dir.path().toStdString() + "/lg.ini";
        {
            std::ofstream out(file, std::ios::binary);
            out << c.text;
        }
        if (c.sparse)
            std::filesystem::resize_file(file, c.sparse);
        const auto size = std::filesystem::file_size(file);
        FakeTree tree;
        NodeTable table;
        const NodeFileLoad load = loadNodeFile(dir.path().toStdString(), table, "NAME", "", tree, nullptr, {});
        EXPECT_TRUE(load.existed);
        if (c.reason.empty()) {
            EXPECT_EQ(load.readError, "");
            EXPECT_EQ(table.count(), MaxNodeRecords);
        } else {
            EXPECT_EQ(load.readError, "cannot read " + file.string() + c.reason);
            EXPECT_EQ(table.count(), 0u);
        }
        EXPECT_EQ(std::filesystem::file_size(file), size);
    }
}

TEST(NodeTree, RebuildListsEveryRecordAndMakesOnlySafeFolders)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    NodeTable table;
    table.append(record("PC-1", "", "False", "adm"));
    table.append(record("../evil", ""));
    table.append(record("PC-3", "", "Jump"));
    FakeTree tree;
    std::vector<std::string> statuses;
    ScriptedMessageBoxes boxes;
    rebuildNetworkTree(table, tree, folder, {}, [&](const std::string& s) { statuses.push_back(s); }, boxes);
    EXPECT_EQ(tree.entries,
              (std::vector<std::string>{">1 node|Network|nw|0", "1 node>Node1 1|PC-1|pc|1",
                                        "1 node>Node1 2|../evil|pc|2", "1 node>Node1 3|PC-3|pc|3"}));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "PC-1"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "PC-3"));
    EXPECT_FALSE(std::filesystem::exists(folder.parent_path() / "evil"));
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_NE(statuses[0].find("../evil"), std::string::npos);
    EXPECT_TRUE(boxes.boxes().empty());

    // A folder that cannot be made stops the rebuild with the message.
    std::ofstream(folder / "PC-9") << "a file where the folder should be";
    NodeTable blocked;
    blocked.append(record("PC-9", ""));
    rebuildNetworkTree(blocked, tree, folder, {}, {}, boxes);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Unable to retrieve network node list!");
    EXPECT_EQ(boxes.boxes()[0].title, "Message from VORLU OPTICAL");
}

TEST(ScanListOk, FlagOrder)
{
    using A = ScanListOkAction;
    struct Case {
        ScanFlags in;
        A action;
        bool driveScanDoneAfter;
    };
    const Case cases[] = {
        {{false, false, false, false}, A::Hide, false},
        {{true, false, true, true}, A::Hide, false},
        {{true, true, true, false}, A::Hide, true},
        {{false, true, true, false}, A::Hide, false},
        {{false, false, true, false}, A::SaveAndRestart, false},
        {{false, false, false, true}, A::SaveAndRestart, false},
    };
    for (const Case& c : cases) {
        ScanFlags f = c.in;
        EXPECT_EQ(scanListOk(f), c.action);
        EXPECT_EQ(f.DriveScanDone, c.driveScanDoneAfter);
    }
}
