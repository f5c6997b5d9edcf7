// The program's options and its refusal of a bad simulated network file,
// checked on the real executable.
#include "e2e/Launch.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vorlu::e2e {
namespace {

// None of these runs needs a real display; the failing start-ups create the
// application object before they read the network file.
QProcessEnvironment quietEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

RunResult run(const QStringList& args) { return runToEnd(programPath(), args, quietEnvironment(), 60000); }

TEST(CommandLine, HelpPrintsUsageAndEnds)
{
    const RunResult r = run({"--help"});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("Usage: vorlu-optical")) << r.out.toStdString();
    for (const char* option : {"--data-dir", "--network", "--demo", "--log", "--help", "--version"})
        EXPECT_TRUE(r.out.contains(option)) << option;
}

TEST(CommandLine, VersionPrintsNameAndVersion)
{
    const RunResult r = run({"--version"});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "vorlu-optical 1.60\n");
}

TEST(CommandLine, BadOptionsEndWithStatus2AndOneLine)
{
    QTemporaryDir dir;
    const QStringList cases[] = {{"--bogus"}, {"--data-dir"}, {"--network"}, {"--log"}, {"--version", "--data-dir"},
                                 {"--log", dir.path()}}; // a folder cannot be the log file
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const RunResult r = run(args);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(nonEmptyLines(r.err).size(), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
}

struct BadNetwork {
    const char* what;
    const char* content; // nullptr: the file does not exist
    int line;            // line the message must name; 0: no position (missing file)
};

TEST(CommandLine, BadNetworkFileStopsTheStartAndWritesNothing)
{
    const BadNetwork cases[] = {
        {"missing file", nullptr, 0},
        {"not JSON", "{\n  \"localAddress\": \"192.168.1.10\",\n  \"computers\": [ }\n}\n", 3},
        {"wrong type", "{\n  \"localAddress\": \"192.168.1.10\",\n\n  \"computers\": \"PC-ONE\"\n}\n", 4},
        {"computer without a name", "{\"computers\": [\n  {\"address\": \"192.168.1.20\"},\n  {\"name\": 7}\n]}\n", 2},
        {"empty file", "", 1},
    };
    for (const BadNetwork& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString data = dir.filePath("data");
        ASSERT_TRUE(QDir().mkpath(data));
        const QString network = dir.filePath("network.json");
        if (c.content) {
            QFile f(network);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }

        const QString log = dir.filePath("run.log");
        const RunResult r = run({"--network", network, "--data-dir", data, "--log", log});
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2);
        const QStringList named = nonEmptyLines(r.err).filter(network);
        ASSERT_EQ(named.size(), 1) << r.err.toStdString();
        QFile logFile(log);
        ASSERT_TRUE(logFile.open(QIODevice::ReadOnly)) << "the failure goes to the log too";
        EXPECT_TRUE(QString::fromUtf8(logFile.readAll()).contains("vorlu.app critical: " + named[0]));
        EXPECT_EQ(logFile.permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser) << "the log is its owner's";
        if (c.line > 0) {
            const QRegularExpression at(QRegularExpression::escape(network) + ":" + QString::number(c.line) +
                                        ":\\d+: \\S");
            EXPECT_TRUE(at.match(named[0]).hasMatch()) << named[0].toStdString();
        }
        EXPECT_TRUE(QDir(data).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            << "the program folder was written to";
    }
}

// A device or a FIFO in the place of a file is refused at once: read, it
// would never end (/dev/zero) or wait for ever for a writer.
TEST(CommandLine, ANetworkOrLogThatIsNotARegularFileIsRefusedAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString data = dir.filePath("data");
    ASSERT_TRUE(QDir().mkpath(data));
    const struct {
        QStringList args;
        QString path;
    } cases[] = {
        {{"--network", "/dev/zero"}, "/dev/zero"},
        {{"--network", fifo}, fifo},
        {{"--log", fifo, "--demo"}, fifo},
        {{"--log", "/dev/zero", "--demo"}, "/dev/zero"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const RunResult r = runToEnd(programPath(), c.args + QStringList{"--data-dir", data}, quietEnvironment(), 10000);
        ASSERT_TRUE(r.finished) << "the start waited on the file";
        EXPECT_EQ(r.exitCode, 2);
        const QStringList lines = nonEmptyLines(r.err).filter(c.path);
        ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
        EXPECT_TRUE(lines[0].contains("not a regular file")) << lines[0].toStdString();
    }
    EXPECT_TRUE(QDir(data).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace
} // namespace vorlu::e2e
