#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace vorlu;

namespace {

std::string crlf(std::initializer_list<const char*> lines)
{
    std::string s;
    for (const char* l : lines)
        s += std::string(l) + "\r\n";
    return s;
}

NodeTable parse(const std::string& text)
{
    NodeTable t;
    parseNodeFile(text, t);
    return t;
}

} // namespace

TEST(NodeFile, ReadsRecordsOfSevenLinesInFileOrder)
{
    const NodeTable t = parse(crlf({"PC-ACCOUNTS", "192.168.1.20", "PC-ACCOUNTS", "True", "", "", "False",
                                    "PC-2", "10.0.0.2", "Front desk", "Jump", "admin", "secret ", "Scanned"}));
    ASSERT_EQ(t.count(), 2u);
    EXPECT_EQ(t.at(1).Name, "PC-ACCOUNTS");
    EXPECT_EQ(t.at(1).IP, "192.168.1.20");
    EXPECT_EQ(t.at(1).Enabled, "True");
    EXPECT_EQ(t.at(1).Scanned, "False");
    EXPECT_EQ(t.at(2).Node, "Front desk");
    EXPECT_EQ(t.at(2).Enabled, "Jump");
    EXPECT_EQ(t.at(2).Login, "admin");
    EXPECT_EQ(t.at(2).Password, "secret") << "trailing blanks do not survive a load";
    EXPECT_EQ(t.at(2).Scanned, "Scanned");
}

TEST(NodeFile, LineEndsAndShortFiles)
{
    struct Case {
        const char* what;
        std::string text;
        std::size_t count;
    };
    const Case cases[] = {
        {"empty file", "", 0},
        {"LF line ends", "A\n1.1.1.1\nA\nTrue\n\n\nFalse\n", 1},
        {"no final line end", "A\r\n1\r\nA\r\nTrue\r\n\r\n\r\nFalse", 1},
        {"three records and nothing more", crlf({"a", "", "a", "True", "", "", "False", "b", "", "b", "True", "", "",
                                                 "False", "c", "", "c", "True", "", "", "False"}),
         3},
        {"ends inside a record", crlf({"A", "1", "A", "True", "", "", "False", "B", "2"}), 2},
        // An editor's empty last line is no eighth node of seven empty fields.
        {"an empty line at the end", "A\r\n1\r\nA\r\nTrue\r\n\r\n\r\nFalse\r\n\r\n", 1},
        {"blank lines at the end", "A\n1\nA\nTrue\n\n\nFalse\n  \n\n", 1},
        {"an empty line alone", "\r\n", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse(c.text).count(), c.count) << c.what;
        EXPECT_EQ(countNodeRecords(c.text), c.count) << c.what;
    }

    const NodeTable cut = parse(crlf({"A", "1", "A", "True", "", "", "False", "B", "2"}));
    EXPECT_EQ(cut.at(2).Name, "B");
    EXPECT_EQ(cut.at(2).IP, "2");
    for (const std::string* f : {&cut.at(2).Node, &cut.at(2).Enabled, &cut.at(2).Login, &cut.at(2).Password,
                                 &cut.at(2).Scanned})
        EXPECT_TRUE(f->empty()) << "missing fields of a cut record are empty";
}

TEST(NodeFile, CallbacksRunPerRecordWithTheYieldBeforeTheLastLine)
{
    NodeTable t;
    std::string trace;
    parseNodeFile(crlf({"A", "", "A", "True", "", "", "False", "B", "", "B", "True", "", "", "Scanned"}), t,
                  [&](std::size_t n) { trace += "r" + std::to_string(n) + t.at(n).Scanned; },
                  [&] { trace += "y" + t.at(t.count()).Scanned + "."; });
    EXPECT_EQ(trace, "y.r1Falsey.r2Scanned");
}

TEST(NodeFile, WritesCrlfAndTheResetForm)
{
    NodeTable t;
    NodeRecord r = discoveredNode("PC-7");
    r.IP = "10.0.0.7";
    r.Node = "Reception";
    r.Enabled = "False";
    r.Login = "admin";
    r.Password = "pw";
    r.Scanned = "Access denied";
    t.append(r);
    EXPECT_EQ(formatNodeFile(t, NodeFileForm::Plain),
              crlf({"PC-7", "10.0.0.7", "Reception", "False", "admin", "pw", "Access denied"}));
    EXPECT_EQ(formatNodeFile(t, NodeFileForm::Reset),
              crlf({"PC-7", "10.0.0.7", "PC-7", "True", "admin", "pw", "Access denied"}));
    EXPECT_EQ(formatNodeFile(NodeTable{}, NodeFileForm::Plain), "");
}

TEST(NodeFile, ALineBreakInAValueCannotForgeARecord)
{
    NodeTable t;
    NodeRecord r = discoveredNode("A");
    r.Node = "evil\r\nB";
    t.append(r);
    EXPECT_EQ(parse(formatNodeFile(t, NodeFileForm::Plain)).count(), 1u);
}

TEST(NodeFile, SaveIsAtomicAndOwnerOnly)
{
    QTemporaryDir dir;
    const std::filesystem::path file = dir.path().toStdString() + "/lg.ini";
    NodeTable t;
    t.append(discoveredNode("A"));
    ASSERT_TRUE(saveNodeFile(file, t, NodeFileForm::Plain));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A folder that cannot take the temporary file leaves the old file whole.
    ::chmod(dir.path().toLocal8Bit().constData(), 0500);
    t.append(discoveredNode("B"));
    std::string error;
    const bool written = saveNodeFile(file, t, NodeFileForm::Plain, &error);
    ::chmod(dir.path().toLocal8Bit().constData(), 0700);
    if (::geteuid() != 0) { // root writes anywhere; the check means nothing then
        EXPECT_FALSE(written);
        EXPECT_FALSE(error.empty());
    }
    std::string text;
    ASSERT_TRUE(readWholeFile(file, text));
    EXPECT_GE(parse(text).count(), 1u);
}

// An interrupted save leaves ".lg.ini.XXXXXX"; the next start removes those of
// the program's own pattern, and never a file of the user's or a save under way.
TEST(NodeFile, LeftTemporariesOfThePatternAloneAreRemoved)
{
    QTemporaryDir dir;
    const std::filesystem::path base = dir.path().toStdString();
    const char* stale[] = {".lg.ini.a1B2c3", ".window.ini.ZZZZZZ"};
    const char* kept[] = {".lg.ini.a1B2c", ".lg.ini.a1B2c3d", ".lg.ini.a1B-c3", ".notes.ini.a1B2c3", "lg.ini.a1B2c3",
                          ".lg.ini.young1", "lg.ini"};
    for (const char* f : stale)
        ASSERT_TRUE(writeFileAtomically(base / f, "x"));
    for (const char* f : kept)
        ASSERT_TRUE(writeFileAtomically(base / f, "x"));
    std::filesystem::create_directory(base / ".vrsopt.ini.folder");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& entry : std::filesystem::directory_iterator(base))
        if (entry.path().filename() != ".lg.ini.young1")
            std::filesystem::last_write_time(entry.path(), old);
    EXPECT_EQ(removeLeftTemporaries(base, {"lg.ini", "vrsopt.ini", "window.ini"}), 2u);
    for (const char* f : stale)
        EXPECT_FALSE(std::filesystem::exists(base / f)) << f;
    for (const char* f : kept)
        EXPECT_TRUE(std::filesystem::exists(base / f)) << f;
    EXPECT_TRUE(std::filesystem::is_directory(base / ".vrsopt.ini.folder"));
}

TEST(NodeFile, ReadingNamesTheFileAndTheReason)
{
    QTemporaryDir dir;
    const std::filesystem::path base = dir.path().toStdString();
    std::filesystem::create_directory(base / "folder");
    ASSERT_EQ(::mkfifo((base / "pipe").c_str(), 0600), 0);
    ASSERT_TRUE(writeFileAtomically(base / "locked", "x"));
    ::chmod((base / "locked").c_str(), 0);
    struct Case {
        const char* name;
        const char* reason;
    };
    std::vector<Case> cases = {{"missing", "No such file or directory"},
                               {"folder", "not a regular file"},
                               {"pipe", "not a regular file"}}; // refused at once, not waited on
    if (::geteuid() != 0) // root reads anything
        cases.push_back({"locked", "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "kept", error;
        EXPECT_FALSE(readWholeFile(base / c.name, text, &error));
        EXPECT_EQ(text, "kept");
        EXPECT_NE(error.find((base / c.name).string()), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}
