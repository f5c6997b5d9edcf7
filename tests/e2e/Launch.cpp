#include "e2e/Launch.h"

#include <QProcess>
#include <QRegularExpression>

namespace vorlu::e2e {

QString programPath() { return QStringLiteral(VORLU_BINARY_DIR "/vorlu-optical"); }

QString xdrivePath() { return QStringLiteral(VORLU_BINARY_DIR "/xdrive"); }

RunResult runToEnd(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                   int timeoutMs)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    RunResult r;
    if (!p.waitForStarted(timeoutMs)) {
        r.err = "cannot start " + program;
        return r;
    }
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QStringList nonEmptyLines(const QString& text)
{
    return text.split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
}

} // namespace vorlu::e2e
