// Ending the real program the ways a user does, on a display of its own, and
// checking what it leaves in the program folder byte for byte.
#include "e2e/Launch.h"
#include "e2e/PrivateDisplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <sys/stat.h>

namespace vorlu::e2e {
namespace {

const QString Title = "Vorlu Optical";
// Centre of the "Main" caption of the command bar, in pixels of the window's client area.
constexpr int MainCaptionX = 174;
constexpr int MainCaptionY = 11;

constexpr int WindowTimeoutMs = 60000; // two slow cores, other tests running beside
constexpr int EndTimeoutMs = 60000;

const char* const Network = R"({
  "localAddress": "192.168.1.10",
  "computers": [
    {"name": "WS-ADMIN", "address": "192.168.1.10"},
    {"name": "PC-ONE", "address": "192.168.1.20"},
    {"name": "PC-TWO", "address": "192.168.1.21"}
  ]
})";

// Three records: listed, hidden and jump; blanks around values that must not survive.
const char* const NodeFileIn = "PC-ONE\r\n192.168.1.20\r\nPC-ONE\r\nTrue\r\n\r\n\r\nFalse\r\n"
                               "PC-TWO\r\n192.168.1.21\r\nAccounts\r\nFalse\r\n  bob\r\nhunter2 \r\nScanned\r\n"
                               "PC-THREE\r\n\r\nPC-THREE\r\nJump\r\n\r\n\r\nAccess denied\r\n";
const char* const NodeFileOut = "PC-ONE\r\n192.168.1.20\r\nPC-ONE\r\nTrue\r\n\r\n\r\nFalse\r\n"
                                "PC-TWO\r\n192.168.1.21\r\nAccounts\r\nFalse\r\nbob\r\nhunter2\r\nScanned\r\n"
                                "PC-THREE\r\n\r\nPC-THREE\r\nJump\r\n\r\n\r\nAccess denied\r\n";

// The camera depth of line 3 is replaced by the start-up's -10.
const char* const SettingsIn = " admin \r\nS3cret \r\n5\r\n1.5\r\n-2\r\n16711680\r\nIPNAME\r\n0\r\nroot\\default\r\nFalse\r\n";
const char* const SettingsOut = "admin\r\nS3cret\r\n-10\r\n1.5\r\n-2\r\n16711680\r\nIPNAME\r\n0\r\nroot\\default\r\nFalse\r\n";
const char* const DefaultSettings = "\r\n\r\n-10\r\n0\r\n0\r\n0\r\n\r\n1\r\nroot\\cimv2\r\nTrue\r\n";

enum class Ending { ExitCommand, CloseButton };

class Shutdown : public ::testing::TestWithParam<Ending> {
protected:
    void SetUp() override
    {
        if (!QFileInfo(xdrivePath()).isExecutable())
            GTEST_SKIP() << "xdrive was not built (libX11 or libXtst missing)";
        display_ = std::make_unique<PrivateDisplay>();
        if (display_->xvfbMissing())
            GTEST_SKIP() << "these tests need Xvfb for a display of their own";
        ASSERT_FALSE(display_->name().isEmpty()) << display_->error().toStdString();
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("DISPLAY", display_->name());
        env_.insert("QT_QPA_PLATFORM", "xcb");
        ASSERT_TRUE(dir_.isValid());
        writeFile(dir_.filePath("network.json"), Network);
    }

    void TearDown() override
    {
        if (HasFailure() && display_)
            std::cerr << "Xvfb on " << display_->name().toStdString() << ": " << display_->log().toStdString() << '\n';
        if (app_.state() != QProcess::NotRunning) {
            app_.kill();
            app_.waitForFinished(5000);
        }
    }

    QString data(const QString& name) const { return dir_.filePath(name); }

    static void writeFile(const QString& path, const QByteArray& content)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        ASSERT_EQ(f.write(content), content.size());
    }

    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<cannot read " + path.toUtf8() + ">");
    }

    static unsigned permissions(const QString& path)
    {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777u : 0u;
    }

    int xdrive(const QStringList& args, int timeoutMs = WindowTimeoutMs + 10000)
    {
        const RunResult r = runToEnd(xdrivePath(), args, env_, timeoutMs);
        if (r.exitCode != 0)
            ADD_FAILURE() << "xdrive " << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return r.exitCode;
    }

    void startProgram()
    {
        app_.setProcessEnvironment(env_);
        app_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app_.start(programPath(), {"--network", data("network.json"), "--data-dir", data("program")});
        ASSERT_TRUE(app_.waitForStarted(WindowTimeoutMs));
    }

    void expectEnded()
    {
        ASSERT_TRUE(app_.waitForFinished(EndTimeoutMs)) << "the program did not end";
        EXPECT_EQ(app_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(app_.exitCode(), 0);
    }

    // Starts the program on the test's folder and ends it as the user would.
    void runAndEnd(Ending ending)
    {
        startProgram();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0)
            << "the main window did not appear";
        if (ending == Ending::ExitCommand) {
            ASSERT_EQ(xdrive({"click", Title, QString::number(MainCaptionX), QString::number(MainCaptionY)}), 0);
            // With no item active, Up selects the last item of the popup: "Exit".
            ASSERT_EQ(xdrive({"key", "Up", "Return"}), 0);
        } else {
            ASSERT_EQ(xdrive({"close", Title}), 0);
        }
        expectEnded();
    }

    void expectSaved(const char* nodeFile, const char* settings)
    {
        const QString lg = data("program/lg.ini");
        const QString opt = data("program/vrsopt.ini");
        EXPECT_EQ(readFile(lg).toStdString(), nodeFile);
        EXPECT_EQ(readFile(opt).toStdString(), settings);
        // Both hold passwords in clear text.
        EXPECT_EQ(permissions(lg), 0600u);
        EXPECT_EQ(permissions(opt), 0600u);
    }

    QTemporaryDir dir_;
    std::unique_ptr<PrivateDisplay> display_;
    QProcessEnvironment env_;
    QProcess app_;
};

TEST_P(Shutdown, WritesWhatItReadBack)
{
    ASSERT_TRUE(QDir().mkpath(data("program")));
    writeFile(data("program/lg.ini"), NodeFileIn);
    writeFile(data("program/vrsopt.ini"), SettingsIn);
    runAndEnd(GetParam());
    if (HasFatalFailure())
        return;
    expectSaved(NodeFileOut, SettingsOut);
}

TEST_P(Shutdown, WithoutFilesWritesAnEmptyNodeFileAndTheDefaults)
{
    runAndEnd(GetParam());
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(QFileInfo::exists(data("program/lg.ini")));
    expectSaved("", DefaultSettings);
}

// The load step goes on after the window is shown and lets events through; a
// close handled there must still save and end the program with success.
TEST_F(Shutdown, ClosingWhileStillLoadingSavesAndEndsNormally)
{
    ASSERT_TRUE(QDir().mkpath(data("program")));
    writeFile(data("program/lg.ini"), NodeFileIn);
    writeFile(data("program/vrsopt.ini"), SettingsIn);
    startProgram();
    if (HasFatalFailure())
        return;
    QElapsedTimer clock;
    clock.start();
    // As early as the window exists: without "ready" and as often as it takes.
    while (runToEnd(xdrivePath(), {"close", Title}, env_, 10000).exitCode != 0) {
        ASSERT_LT(clock.elapsed(), WindowTimeoutMs) << "the main window did not appear";
        ASSERT_FALSE(app_.waitForFinished(0)) << "the program ended before its window appeared";
    }
    expectEnded();
    EXPECT_EQ(readFile(data("program/lg.ini")).toStdString(), NodeFileOut);
    EXPECT_TRUE(readFile(data("program/vrsopt.ini")).startsWith("admin\r\nS3cret\r\n"));
}

INSTANTIATE_TEST_SUITE_P(E2e, Shutdown, ::testing::Values(Ending::ExitCommand, Ending::CloseButton),
                         [](const ::testing::TestParamInfo<Ending>& ending) {
                             return ending.param == Ending::ExitCommand ? "ExitCommand" : "CloseButton";
                         });

} // namespace
} // namespace vorlu::e2e
