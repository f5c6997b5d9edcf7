#pragma once
// A test that runs the real program on a display and a program folder of its
// own, drives it with xdrive and reads the files it leaves.
#include "e2e/Launch.h"
#include "e2e/PrivateDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <sys/stat.h>

namespace vorlu::e2e {

inline const QString Title = "Vorlu Optical";
// Centres of command bar captions, in pixels of the window's client area.
constexpr int MainCaptionX = 174;
constexpr int MainCaptionY = 11;
constexpr int NetworkCaptionX = 225;
constexpr int NodesCaptionX = 279;
// Centre of the first node under "Network" in TreeView1.
constexpr int FirstNodeX = 665;
constexpr int FirstNodeY = 354;

constexpr int WindowTimeoutMs = 60000; // two slow cores, other tests running beside
constexpr int EndTimeoutMs = 60000;

class ProgramFixture : public ::testing::Test {
protected:
    // The simulated network the program runs on.
    virtual QByteArray network() const = 0;

    void SetUp() override
    {
        // A missing tool fails the run: skipped whole-program tests would pass for nothing.
        ASSERT_TRUE(QFileInfo(xdrivePath()).isExecutable())
            << "xdrive was not built: install libx11-dev and libxtst-dev (make deps) and build again";
        display_ = std::make_unique<PrivateDisplay>();
        ASSERT_FALSE(display_->xvfbMissing()) << "these tests need Xvfb for a display of their own: install xvfb (make deps)";
        ASSERT_FALSE(display_->name().isEmpty()) << display_->error().toStdString();
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("DISPLAY", display_->name());
        env_.insert("QT_QPA_PLATFORM", "xcb");
        ASSERT_TRUE(dir_.isValid());
        writeFile(dir_.filePath("network.json"), network());
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

    // Ends a running program through "Main", "Exit".
    void exitThroughMenu()
    {
        ASSERT_EQ(xdrive({"click", Title, QString::number(MainCaptionX), QString::number(MainCaptionY)}), 0);
        // With no item active, Up selects the last item of the popup: "Exit".
        ASSERT_EQ(xdrive({"key", "Up", "Return"}), 0);
    }

    // Chooses the item'th enabled item of the "Nodes" popup.
    void nodesMenu(int item)
    {
        ASSERT_EQ(xdrive({"click", Title, QString::number(NodesCaptionX), QString::number(MainCaptionY)}), 0);
        QStringList keys{"key"};
        for (int i = 0; i < item; ++i)
            keys << "Down";
        keys << "Return";
        ASSERT_EQ(xdrive(keys), 0);
    }

    void startProgram(QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
    {
        app_.setProcessEnvironment(env_);
        app_.setProcessChannelMode(channels);
        app_.start(programPath(), {"--network", data("network.json"), "--data-dir", data("program")});
        ASSERT_TRUE(app_.waitForStarted(WindowTimeoutMs));
    }

    void expectEnded()
    {
        ASSERT_TRUE(app_.waitForFinished(EndTimeoutMs)) << "the program did not end";
        EXPECT_EQ(app_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(app_.exitCode(), 0);
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

} // namespace vorlu::e2e
