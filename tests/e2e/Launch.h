#pragma once
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vorlu::e2e {

// Where the build put the program and its window driver.
QString programPath();
QString xdrivePath();

struct RunResult {
    bool finished = false; // false: it had to be killed after the time limit
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program to its end (killing it after the limit) and collects its output.
RunResult runToEnd(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                   int timeoutMs);

// Lines of a program's error output, without empty ones.
QStringList nonEmptyLines(const QString& text);

} // namespace vorlu::e2e
