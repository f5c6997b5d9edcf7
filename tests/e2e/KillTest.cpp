// Killing the real program at random moments while it saves: every file it
// writes must afterwards be whole, either as it was before or as it was to be.
#include "e2e/ProgramFixture.h"

#include <QElapsedTimer>
#include <QThread>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <sys/stat.h>
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
    for (int i = 0; i < 100000; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray head = "PC-" + n + "\r\n10." + QByteArray::number(i / 62500) + "." + QByteArray::number(i / 250 % 250) + "." + QByteArray::number(i % 250) +
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

};

// Names, sizes and change times of the program folder's entries: changes the
// moment the program starts to save.
std::string folderState(const QString& folder)
{
    std::string state;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder.toStdString(), ec)) {
        struct stat st {};
        if (::stat(e.path().c_str(), &st) != 0)
            continue;
        state += e.path().filename().string() + ":" + std::to_string(st.st_size) + ":" +
            std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + ";";
    }
    return state;
}

TEST_F(Kill, EveryFileIsWholeOldOrWholeNewWhereverTheProgramDies)
{
    const std::vector<SavedFile> files = savedFiles();
    const QString folder = data("program");
    auto allWritten = [&] {
        for (const SavedFile& f : files)
            if (readFile(folder + "/" + f.name) != f.after)
                return false;
        return true;
    };
    // Waits for the save to begin; returns false when the program ended first.
    auto saveStarts = [&](const std::string& before) {
        while (folderState(folder) == before)
            if (app_.state() == QProcess::NotRunning)
                return false;
        return true;
    };

    // One undisturbed run measures how long saving takes from its first trace.
    prepare(files);
    startProgram();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
    std::string before = folderState(folder);
    ASSERT_EQ(xdrive({"close", Title}), 0);
    ASSERT_TRUE(saveStarts(before)) << "the program ended without saving";
    QElapsedTimer clock;
    clock.start();
    while (!allWritten() && clock.elapsed() < EndTimeoutMs)
        QThread::usleep(200);
    const qint64 savingUs = std::max<qint64>(clock.nsecsElapsed() / 1000, 1);
    expectEnded();
    for (const SavedFile& f : files)
        ASSERT_EQ(readFile(folder + "/" + f.name), f.after) << f.name << " of the undisturbed run";

    std::mt19937 random(std::random_device{}());
    // Every other kill is spread evenly over the scale of time rather than over time: a file
    // that is written in place is cut only in the short moments of writing, while most of
    // saving is waiting for the disk.
    const double span = static_cast<double>(savingUs + savingUs / 4);
    std::uniform_real_distribution<double> scale(0.0, std::log(span));
    std::uniform_real_distribution<double> even(0.0, span);
    int draw = 0;
    auto moment = [&](std::mt19937& r) {
        return static_cast<qint64>(draw++ % 2 ? even(r) : std::exp(scale(r)) - 1.0);
    };
    int outcomes[3] = {}; // killed before the first file was replaced, between files, after the last
    for (int trial = 0; trial < trials(); ++trial) {
        prepare(files);
        startProgram();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
        before = folderState(folder);
        ASSERT_EQ(xdrive({"close", Title}), 0);
        const qint64 at = moment(random);
        if (saveStarts(before)) {
            QThread::usleep(static_cast<unsigned long>(at));
            ::kill(static_cast<pid_t>(app_.processId()), SIGKILL);
        }
        ASSERT_TRUE(app_.waitForFinished(EndTimeoutMs));
        int written = 0;
        for (const SavedFile& f : files) {
            const QByteArray now = readFile(folder + "/" + f.name);
            EXPECT_TRUE(now == f.before || now == f.after)
                << f.name << " after a kill " << at << " us into saving (" << savingUs << " us undisturbed, trial "
                << trial << "): " << now.size() << " bytes, before " << f.before.size() << ", after " << f.after.size();
            written += now == f.after ? 1 : 0;
        }
        ++outcomes[written == 0 ? 0 : written < static_cast<int>(files.size()) ? 1 : 2];
    }
    std::cout << "saving took " << savingUs << " us; of " << trials() << " kills " << outcomes[0]
              << " came before the first file was replaced, " << outcomes[1] << " between files, " << outcomes[2]
              << " after the last\n";
}

} // namespace
} // namespace vorlu::e2e
