// Ending the real program the ways a user does, on a display of its own, and
// checking what it leaves in the program folder byte for byte.
#include "e2e/ProgramFixture.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace vorlu::e2e {
namespace {

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

// The camera depth of line 3 is replaced by the start-up's -10; the transport lines come back as they were.
const char* const SettingsIn = " admin \r\nS3cret \r\n5\r\n1.5\r\n-2\r\n16711680\r\nIPNAME\r\n0\r\nroot\\default\r\nFalse\r\n"
                               "https\r\n8443\r\n0\r\n0\r\n/etc/ssl/office-ca.pem\r\n2500\r\n90000\r\n"
                               "corp.vorlu.test\r\ndc1.corp.vorlu.test\r\n32\r\n";
const char* const SettingsOut = "admin\r\nS3cret\r\n-10\r\n1.5\r\n-2\r\n16711680\r\nIPNAME\r\n0\r\nroot\\default\r\nFalse\r\n"
                                "https\r\n8443\r\n0\r\n0\r\n/etc/ssl/office-ca.pem\r\n2500\r\n90000\r\n"
                                "corp.vorlu.test\r\ndc1.corp.vorlu.test\r\n32\r\n0\r\n";
const char* const DefaultSettings = "\r\n\r\n-10\r\n0\r\n0\r\n0\r\n\r\n1\r\nroot\\cimv2\r\nTrue\r\n"
                                    "http\r\n5985\r\n1\r\n0\r\n\r\n5000\r\n30000\r\n\r\n\r\n64\r\n0\r\n";

enum class Ending { ExitCommand, CloseButton };

class Shutdown : public ProgramFixture, public ::testing::WithParamInterface<Ending> {
protected:
    QByteArray network() const override { return Network; }

    // Starts the program on the test's folder and ends it as the user would.
    void runAndEnd(Ending ending)
    {
        startProgram();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0)
            << "the main window did not appear";
        if (ending == Ending::ExitCommand) {
            exitThroughMenu();
            if (HasFatalFailure())
                return;
        } else {
            ASSERT_EQ(xdrive({"close", Title}), 0);
        }
        expectEnded();
    }
};

TEST_P(Shutdown, WritesWhatItReadBack)
{
    ASSERT_TRUE(QDir().mkpath(data("program")));
    writeFile(data("program/lg.ini"), NodeFileIn);
    writeFile(data("program/vrsopt.ini"), SettingsIn);
    // What an interrupted save left, beside a file of the user's that only looks like it.
    ASSERT_TRUE(QDir().mkpath(data("program/PC-ONE")));
    const QString left[] = {data("program/.lg.ini.Ab12Cd"), data("program/PC-ONE/.sen_cd.x9Y8z7")};
    const QString kept = data("program/.lg.ini.notes");
    for (const QString& f : {left[0], left[1], kept}) {
        writeFile(f, "half");
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    runAndEnd(GetParam());
    if (HasFatalFailure())
        return;
    expectSaved(NodeFileOut, SettingsOut);
    for (const QString& f : left)
        EXPECT_FALSE(QFileInfo::exists(f)) << f.toStdString();
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_EQ(permissions(data("program/window.ini")), 0600u);
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

// Started from a desktop menu, stderr is seen by nobody: a program folder the
// program cannot use is told in a box, with the folder and the reason.
TEST_F(Shutdown, AnUnusableProgramFolderIsToldInABox)
{
    writeFile(data("program"), "a file, not a folder");
    startProgram(QProcess::SeparateChannels);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0) << "no box appeared";
    EXPECT_FALSE(app_.waitForFinished(500)) << "the program ended before the box was answered";
    ASSERT_EQ(xdrive({"key", "Return"}), 0);
    ASSERT_TRUE(app_.waitForFinished(EndTimeoutMs));
    EXPECT_EQ(app_.exitCode(), 2);
    const QString err = QString::fromUtf8(app_.readAllStandardError());
    EXPECT_TRUE(err.contains(data("program") + " as the program folder: it is not a folder")) << err.toStdString();
    EXPECT_EQ(readFile(data("program")), "a file, not a folder");
}

INSTANTIATE_TEST_SUITE_P(E2e, Shutdown, ::testing::Values(Ending::ExitCommand, Ending::CloseButton),
                         [](const ::testing::TestParamInfo<Ending>& ending) {
                             return ending.param == Ending::ExitCommand ? "ExitCommand" : "CloseButton";
                         });

} // namespace
} // namespace vorlu::e2e
