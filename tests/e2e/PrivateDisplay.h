#pragma once
#include <QProcess>
#include <QString>

namespace vorlu::e2e {

// A virtual X display of the test's own. Tests run in parallel and other test
// programs open windows too; on a shared display a click or a close request
// could reach another program's window.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":N", or empty when no server could be started (see error()).
    QString name() const { return name_; }
    QString error() const { return error_; }
    bool xvfbMissing() const { return xvfbMissing_; }
    // What the server said so far, for a failing test's report.
    QString log();

private:
    QProcess server_;
    QString name_;
    QString error_;
    bool xvfbMissing_ = false;
};

} // namespace vorlu::e2e
