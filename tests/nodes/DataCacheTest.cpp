#include "nodes/DataCache.h"
#include "nodes/AtomicFile.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace vorlu;
namespace fs = std::filesystem;

namespace {

void put(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileAtomically(file, "x\r\n", FileAccess::Default)) << file;
}

} // namespace

TEST(ClearDataCache, DeletesOnlyTheCacheFilesOfNodeFolders)
{
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    const fs::path program = root / "program";
    // Reports, diagnostics and settings of two nodes; stray files beside them.
    for (const char* f : {"PC-1/report", "PC-1/sen_cd", "PC-1/settings", "PC-2/report", "PC-1/notes.txt",
                          "PC-1/report.bak", "lg.ini", "vrsopt.ini", "report", "UNLISTED/report"})
        put(program / f);
    // Outside the program folder, where a hostile node name points.
    put(root / "x" / "report");
    put(root / "report");
    // A folder where a file is expected, and a node folder that is a link elsewhere.
    fs::create_directories(program / "PC-2" / "sen_cd");
    put(root / "elsewhere" / "report");
    fs::create_directory_symlink(root / "elsewhere", program / "LINKED");

    NodeTable nodes;
    for (const char* name : {"PC-1", "PC-2", "../x", "..", "", "PC-1/..", "LINKED", "NOFOLDER"})
        nodes.append(discoveredNode(name));
    int yields = 0;
    const auto deleted = clearDataCache(program, nodes, [&] { ++yields; });

    EXPECT_EQ(yields, 3) << "once per file name";
    const std::vector<fs::path> expected = {program / "PC-1/report", program / "PC-2/report", program / "PC-1/sen_cd",
                                            program / "PC-1/settings"};
    EXPECT_EQ(deleted, expected) << "by file name, then by node";
    for (const fs::path& gone : expected)
        EXPECT_FALSE(fs::exists(gone)) << gone;
    for (const char* f : {"PC-1/notes.txt", "PC-1/report.bak", "lg.ini", "vrsopt.ini", "report", "UNLISTED/report"})
        EXPECT_TRUE(fs::exists(program / f)) << f;
    EXPECT_TRUE(fs::is_directory(program / "PC-2" / "sen_cd"));
    for (const char* f : {"x/report", "report", "elsewhere/report"})
        EXPECT_TRUE(fs::exists(root / f)) << f;

    // Nothing left: a second clear deletes nothing and still finishes.
    EXPECT_TRUE(clearDataCache(program, nodes, {}).empty());
}
