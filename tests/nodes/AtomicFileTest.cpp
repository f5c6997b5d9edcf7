#include "nodes/AtomicFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vorlu {
namespace {

mode_t modeOf(const std::filesystem::path& file)
{
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

std::size_t entriesIn(const std::filesystem::path& folder)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

TEST(AtomicFile, SeveralFilesOfAFolderAreWrittenTogetherOrNotAtAll)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const mode_t mask = ::umask(027);
    const FileContent both[] = {{"sen_cd", "2\r\n"}, {"report", "CD\r\n"}};
    const bool written = writeFilesAtomically(folder, both);
    ::umask(mask);
    ASSERT_TRUE(written);
    std::string text;
    ASSERT_TRUE(readWholeFile(folder / "report", text));
    EXPECT_EQ(text, "CD\r\n");
    EXPECT_EQ(modeOf(folder / "sen_cd"), 0600u) << "the owner's alone, whatever the umask";

    // A second file that cannot be written leaves the first as it was, and no temporary file behind.
    const FileContent broken[] = {{"sen_cd", "new"}, {std::string(255, 'x'), "new"}};
    std::string error;
    EXPECT_FALSE(writeFilesAtomically(folder, broken, &error));
    EXPECT_NE(error.find("cannot create a temporary file beside"), std::string::npos) << error;
    ASSERT_TRUE(readWholeFile(folder / "sen_cd", text));
    EXPECT_EQ(text, "2\r\n");
    EXPECT_EQ(entriesIn(folder), 2u);
}

} // namespace
} // namespace vorlu
