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

// A slow node with many drives and long values, so that its drive files are
// large, and this computer.
constexpr int SlowDrives = 256;
constexpr int LongValue = 4000;
const char* const SlowNode = "SRV-SLOW";

QByteArray longText(const char* head, int k) { return head + QByteArray::number(k) + " " + QByteArray(LongValue, 'x'); }

QByteArray slowNetwork()
{
    QByteArray drives;
    for (int k = 1; k <= SlowDrives; ++k)
        drives += QByteArray(k > 1 ? "," : "") + R"({"Drive": "D)" + QByteArray::number(k) + R"(:", "Name": ")" +
            longText("DRIVE ", k) + R"(", "Availability": 3, "ConfigManagerErrorCode": 0, "ErrorDescription": ")" +
            longText("NOTE ", k) + R"(", "Status": "OK", "MediaLoaded": true})";
    return R"({"localAddress": "192.168.1.10", "computers": [
        {"name": "SRV-SLOW", "address": "192.168.1.5", "latencyMs": 100,
         "management": {"accounts": [{"user": "", "password": ""}], "cdromDrives": [)" + drives + R"(]}},
        {"name": "WS-ADMIN", "address": "192.168.1.10", "management": {"accounts": [{"user": "", "password": ""}]}}]})";
}

// A file the program rewrites, as it is before the run and as the run writes it.
struct SavedFile {
    QString name; // in the program folder
    QByteArray before;
    QByteArray after;
};

// What the program saves on its way out. Large enough that writing it takes a
// while; the blanks around the logins are trimmed on reading, so the file
// written differs from the one read.
std::vector<SavedFile> exitFiles()
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
         "admin\r\nS3cret\r\n-10\r\n1.5\r\n-2\r\n16711680\r\nIPNAME\r\n0\r\nroot\\default\r\nFalse\r\n"
         "http\r\n5985\r\n1\r\n0\r\n\r\n5000\r\n30000\r\n\r\n\r\n64\r\n0\r\n"},
    };
}

// The slow node's drive files: the node first in the node file, which the
// drive commands leave alone, its report and its diagnostics.
std::vector<SavedFile> driveFiles()
{
    const QByteArray nodeFile = "SRV-SLOW\r\n192.168.1.5\r\nSRV-SLOW\r\nTrue\r\n\r\n\r\nFalse\r\n"
                                "WS-ADMIN\r\n192.168.1.10\r\nWS-ADMIN\r\nTrue\r\n\r\n\r\nFalse\r\n";
    QByteArray report = "CD\r\n" + QByteArray::number(SlowDrives) + "\r\n";
    QByteArray diagnostics = QByteArray::number(SlowDrives) + "\r\n";
    for (int k = 1; k <= SlowDrives; ++k) {
        report += "D" + QByteArray::number(k) + ":\r\n" + longText("DRIVE ", k) + "\r\n";
        diagnostics += "3\r\n0\r\n\r\n" + longText("NOTE ", k) + "\r\n\r\nOK\r\n\r\nTrue\r\n";
    }
    const QString folder = QString(SlowNode) + "/";
    return {
        {"lg.ini", nodeFile, nodeFile},
        {folder + "report", "CD\r\n1\r\nD:\r\nOLD DRIVE\r\n\r\n", report + "\r\n"},
        {folder + "sen_cd", "1\r\n3\r\n0\r\n\r\n\r\n\r\nOK\r\n\r\nTrue\r\n\r\n", diagnostics + "\r\n"},
    };
}

// What a trial kills the program in the middle of: the save on its way out,
// the slow node's build (its report) or its diagnostics (its sen_cd).
enum Phase { Exit, Report, Diagnostics, Phases };
const char* const PhaseNames[Phases] = {"the save at exit", "the build", "the diagnostics"};

int trials()
{
    const char* v = std::getenv("VORLU_KILL_TRIALS");
    const int n = v ? std::atoi(v) : 0;
    return n > 0 ? n : 10;
}

class Kill : public ProgramFixture {
protected:
    QByteArray network() const override { return slowNetwork(); }

    void prepare(const std::vector<SavedFile>& files)
    {
        QDir(data("program")).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(data("program/") + SlowNode));
        for (const SavedFile& f : files)
            writeFile(data("program/") + f.name, f.before);
    }

    // Starts the program on the files of the phase and gets it as far as the
    // command that saves; returns the folder the save is seen in.
    QString startUpTo(Phase phase, const std::vector<SavedFile>& files)
    {
        prepare(files);
        startProgram();
        if (HasFatalFailure())
            return {};
        EXPECT_EQ(xdrive({"ready", Title, QString::number(WindowTimeoutMs / 1000)}), 0);
        if (phase != Exit) {
            EXPECT_EQ(xdrive({"click", Title, QString::number(FirstNodeX), QString::number(FirstNodeY)}), 0);
        }
        return phase == Exit ? data("program") : data("program/") + SlowNode;
    }

    // The command that saves: "Build selected Computer Optical Drives" and
    // "Current Computer Optical Drives Diagnostics Scan" are the first two
    // enabled items of the "Nodes" popup for a node that is not this computer.
    void save(Phase phase)
    {
        if (phase == Exit) {
            EXPECT_EQ(xdrive({"close", Title}), 0);
        } else {
            nodesMenu(phase == Report ? 1 : 2);
        }
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
    const std::vector<SavedFile> filesOf[Phases] = {exitFiles(), driveFiles(), driveFiles()};
    // The file each phase writes, by its index in the phase's files.
    const std::vector<std::size_t> writtenIn[Phases] = {{0, 1}, {1}, {2}};
    auto replaced = [&](Phase phase) {
        for (std::size_t i : writtenIn[phase])
            if (readFile(data("program/") + filesOf[phase][i].name) != filesOf[phase][i].after)
                return false;
        return true;
    };
    // Waits for the save to begin; returns false when the program ended first.
    auto saveStarts = [&](const QString& folder, const std::string& before) {
        QElapsedTimer clock;
        clock.start();
        while (folderState(folder) == before) {
            if (app_.state() == QProcess::NotRunning || clock.elapsed() > WindowTimeoutMs)
                return false;
        }
        return true;
    };

    // Undisturbed runs measure how long each save takes from its first trace:
    // one through the build and the diagnostics of the slow node, one to the save at exit.
    qint64 savingUs[Phases] = {};
    for (Phase first : {Report, Exit}) {
        QString folder = startUpTo(first, filesOf[first]);
        if (HasFailure())
            return;
        for (int p = first; p < (first == Exit ? Report : Phases); ++p) {
            const Phase phase = static_cast<Phase>(p);
            const std::string before = folderState(folder);
            save(phase);
            ASSERT_TRUE(saveStarts(folder, before)) << PhaseNames[phase] << " saved nothing";
            QElapsedTimer clock;
            clock.start();
            while (!replaced(phase) && clock.elapsed() < EndTimeoutMs)
                QThread::usleep(200);
            savingUs[phase] = std::max<qint64>(clock.nsecsElapsed() / 1000, 1);
            ASSERT_TRUE(replaced(phase)) << PhaseNames[phase] << " of the undisturbed run";
            if (phase != Exit) {
                ASSERT_EQ(xdrive({"gone", phase == Report ? "Scan List" : "Diagnostic", "60"}), 0);
            }
        }
        if (first != Exit) {
            ASSERT_EQ(xdrive({"close", Title}), 0);
            expectEnded();
        }
    }
    expectEnded();

    std::mt19937 random(std::random_device{}());
    // Every other kill is spread evenly over the scale of time rather than over time: a file
    // that is written in place is cut only in the short moments of writing, while most of
    // saving is waiting for the disk.
    int draw = 0;
    auto moment = [&](Phase phase) {
        const double span = static_cast<double>(savingUs[phase] + savingUs[phase] / 4);
        const double at = draw++ % 2 ? std::uniform_real_distribution<double>(0.0, span)(random)
                                     : std::exp(std::uniform_real_distribution<double>(0.0, std::log(span))(random)) - 1.0;
        return static_cast<qint64>(at);
    };
    int outcomes[Phases][3] = {}; // killed before the first file was replaced, between files, after the last
    for (int trial = 0; trial < trials(); ++trial) {
        const Phase phase = static_cast<Phase>(trial % Phases);
        const std::vector<SavedFile>& files = filesOf[phase];
        const QString folder = startUpTo(phase, files);
        if (HasFailure())
            return;
        const std::string before = folderState(folder);
        save(phase);
        if (HasFailure())
            return;
        const qint64 at = moment(phase);
        if (saveStarts(folder, before)) {
            QThread::usleep(static_cast<unsigned long>(at));
            ::kill(static_cast<pid_t>(app_.processId()), SIGKILL);
        }
        ASSERT_TRUE(app_.waitForFinished(EndTimeoutMs));
        std::size_t written = 0;
        for (const SavedFile& f : files) {
            const QByteArray now = readFile(data("program/") + f.name);
            EXPECT_TRUE(now == f.before || now == f.after)
                << f.name.toStdString() << " after a kill " << at << " us into " << PhaseNames[phase] << " ("
                << savingUs[phase] << " us undisturbed, trial " << trial << "): " << now.size() << " bytes, before "
                << f.before.size() << ", after " << f.after.size();
            written += now == f.after && f.before != f.after ? 1 : 0;
        }
        const std::size_t changing = writtenIn[phase].size();
        ++outcomes[phase][written == 0 ? 0 : written < changing ? 1 : 2];
    }
    for (int p = 0; p < Phases; ++p)
        std::cout << PhaseNames[p] << " took " << savingUs[p] << " us; of its kills " << outcomes[p][0]
                  << " came before the first file was replaced, " << outcomes[p][1] << " between files, "
                  << outcomes[p][2] << " after the last\n";
}

} // namespace
} // namespace vorlu::e2e
