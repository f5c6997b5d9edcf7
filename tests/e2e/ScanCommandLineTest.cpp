// `vorlu-optical --scan` refusing what it cannot do: one line on stderr,
// status 2, and nothing scanned or written.
#include "e2e/Launch.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vorlu::e2e {
namespace {

TEST(ScanCommandLine, RefusalsEndWithStatus2AndWriteNothing)
{
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    ASSERT_TRUE(QDir().mkpath(data));
    // A node file that cannot be read is never replaced by what a scan alone knows.
    const QString unreadable = dir.filePath("unreadable");
    ASSERT_TRUE(QDir().mkpath(unreadable + "/lg.ini"));
    const struct {
        QStringList args;
        const char* saying;
    } cases[] = {
        {{"--scan"}, "needs an argument"},
        {{"--scan", "10.0.0.0/8", "--data-dir", data}, "at most 65536"},
        {{"--scan", "10.0.0.9-10.0.0.1", "--data-dir", data}, "runs backwards"},
        {{"--scan", "127.0.0.1", "--demo"}, "real network alone"},
        {{"--names", dir.filePath("hosts"), "--data-dir", data}, "only for --scan"},
        {{"--scan", "127.0.0.1", "--data-dir", data, "--names", dir.filePath("missing")}, "missing"},
        {{"--scan", "127.0.0.1", "--data-dir", unreadable}, "nothing was scanned or written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const RunResult r = runToEnd(programPath(), c.args, QProcessEnvironment::systemEnvironment(), 60000);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2);
        const QStringList lines = nonEmptyLines(r.err);
        ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
        EXPECT_TRUE(lines[0].contains(c.saying)) << lines[0].toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_TRUE(QDir(data).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_EQ(QDir(unreadable).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"lg.ini"});
}

} // namespace
} // namespace vorlu::e2e
