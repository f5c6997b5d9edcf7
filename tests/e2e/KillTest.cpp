// Killing the real program at random moments while it saves: every file it
// writes must afterwards be whole, either as it was before or as it was to be.
#include "e2e/ProgramFixture.h"

#include <QElapsedTimer>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <random>
#include <vector>

namespace vorlu::e2e {
namespace {

const char* const Network = R"({"localAddress": "192.168.1.10", "computers": []})";

// A file the program rewrites on its way out, as it is before the run and as
// the run writes it. Files of other commands join the test as entries here.
struct SavedFile {
    const char* name;
    QByteArray before;
    QByteArray after;
};

// Large enough that writing it takes a while; the blanks around the logins
// are trimmed on reading, so the file written differs from the one read.
std::vector<SavedFile> savedFiles()
{
    QByteArray before, after;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray head = "PC-" + n + "\r\n10.1." + QByteArray::number(i / 250) + "." + QByteArray::number(i % 250) +
            "\r\nPC-" + n + "\r\nTrue\r\n";
        before += head + "  user" + n + "\r\npw" + n + "\r\nFalse\r\n";
        after += head + "user" + n + "\r\npw" + n + "\r\nFalse\r\n";
    }
    return {
        {"lg.ini", before, after},
        {"vrsopt.ini", " admin \r\nS3cret\r\n5\r\n1.5\r\n-2\r\n16711680\r\nIPNAME\r\n0\r\nroot\\default\r\nFalse\r\n",
         "admin\r\nS3cret\r\n-10\r\n1.5\r\n-2\r\n16711680\r\nIPNAME\r\n0\r\nroot\\default\r\nFalse\r\n"},
    };
}

int trials()
{
    const char* v = std::getenv("VORLU_KILL_TRIALS");
    const int n = v ? std::atoi(v) : 0;
    return n > 0 ? n : 10;
}

class Kill : public ProgramFixture {
protected:
    QByteArray network() const override { return Network; }

    void prepare(const std::vector<SavedFile>& files)
    {
        QDir(data("program")).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(data("program")));
        for (const SavedFile& f : files)
            writeFile(data("program/") + f.name, f.before);
    }

    // Starts the program and asks it to end; returns when the request is sent.
    void startAndClose()
    {
        startProgram();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
        ASSERT_EQ(xdrive({"close", Title}), 0);
    }
};

TEST_F(Kill, EveryFileIsWholeOldOrWholeNewWhereverTheProgramDies)
{
    const std::vector<SavedFile> files = savedFiles();
    // One undisturbed run measures how long ending takes once the close is sent.
    prepare(files);
    QElapsedTimer clock;
    startAndClose();
    if (HasFatalFailure())
        return;
    clock.start();
    expectEnded();
    const qint64 endingMs = std::max<qint64>(clock.elapsed(), 1);
    for (const SavedFile& f : files)
        ASSERT_EQ(readFile(data("program/") + f.name), f.after) << f.name << " of the undisturbed run";

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<qint64> moment(0, endingMs + endingMs / 4);
    int outcomes[3] = {}; // killed before the first file was replaced, between files, after the last
    for (int trial = 0; trial < trials(); ++trial) {
        prepare(files);
        startAndClose();
        if (HasFatalFailure())
            return;
        const qint64 at = moment(random);
        QThread::msleep(static_cast<unsigned long>(at));
        const bool ended = app_.state() == QProcess::NotRunning;
        if (!ended)
            ::kill(static_cast<pid_t>(app_.processId()), SIGKILL);
        ASSERT_TRUE(app_.waitForFinished(EndTimeoutMs));
        int written = 0;
        for (const SavedFile& f : files) {
            const QByteArray now = readFile(data("program/") + f.name);
            const bool whole = now == f.before || now == f.after;
            EXPECT_TRUE(whole) << f.name << " after a kill at " << at << " ms of " << endingMs << " (trial " << trial
                               << "): " << now.size() << " bytes, before " << f.before.size() << ", after "
                               << f.after.size();
            written += now == f.after ? 1 : 0;
        }
        ++outcomes[written == 0 ? 0 : written < static_cast<int>(files.size()) ? 1 : 2];
    }
    std::cout << "of " << trials() << " trials the kill came before the first file in " << outcomes[0]
              << ", between files in " << outcomes[1] << ", after the last in " << outcomes[2] << "\n";
}

} // namespace
} // namespace vorlu::e2e
