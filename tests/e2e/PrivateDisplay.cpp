#include "e2e/PrivateDisplay.h"

#include <QStandardPaths>

namespace vorlu::e2e {

PrivateDisplay::PrivateDisplay()
{
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty()) {
        error_ = "Xvfb is not installed";
        xvfbMissing_ = true;
        return;
    }
    // -displayfd 1: the server picks a free display and tells its number on stdout.
    // -noreset: otherwise the server resets whenever its last client leaves, and
    // a program connecting just then (the driver polls before the program is up) is refused.
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.start(xvfb, {"-displayfd", "1", "-screen", "0", "1600x1000x24", "-dpi", "96", "-nolisten", "tcp",
                         "-noreset"});
    QByteArray number;
    while (!number.contains('\n') && server_.waitForReadyRead(30000))
        number += server_.readAllStandardOutput();
    number = number.trimmed();
    if (number.isEmpty()) {
        error_ = "Xvfb did not start: " + QString::fromLocal8Bit(server_.readAllStandardError());
        return;
    }
    name_ = ":" + QString::fromLatin1(number);
}

QString PrivateDisplay::log()
{
    QString text = QString::fromLocal8Bit(server_.readAllStandardError());
    if (server_.state() == QProcess::NotRunning || server_.waitForFinished(0))
        text += QString("\n[the server has ended, exit code %1]").arg(server_.exitCode());
    return text;
}

PrivateDisplay::~PrivateDisplay()
{
    if (server_.state() == QProcess::NotRunning)
        return;
    server_.terminate();
    if (!server_.waitForFinished(10000)) {
        server_.kill();
        server_.waitForFinished(5000);
    }
}

} // namespace vorlu::e2e
