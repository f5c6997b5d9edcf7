#include "platform/ui/QtUserInterfaceServices.h"

#include "platform/Log.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace vorlu {

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int QtMessageBoxes::run(const std::string& text, const std::string& title, MessageIcon icon, int buttons)
{
    const QString caption = QString::fromStdString(title.empty() ? std::string(kProgramTitle) : title);
    QMessageBox box(toQt(icon), caption, QString::fromStdString(text), QMessageBox::StandardButtons(buttons),
                    parent_.data());
    // Texts from the network are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

void QtMessageBoxes::show(const std::string& text, const std::string& title, MessageIcon icon)
{
    run(text, title, icon, QMessageBox::Ok);
}

bool QtMessageBoxes::askYesNo(const std::string& text, const std::string& title, MessageIcon icon)
{
    return run(text, title, icon, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtMessageBoxes::beep()
{
    QApplication::beep();
}

void QtProgramEnd::endProgram(int status)
{
    QCoreApplication::exit(status);
}

void QtProgramRestart::restartProgram()
{
    requested_ = true;
    QCoreApplication::exit(0);
}

bool QtProgramRestart::relaunch() const { return QProcess::startDetached(program_, arguments_); }

namespace {

// xdg-open starts happily on a desktop that has no browser and then shows
// nothing, so ask for a handler of web pages first.
bool desktopHasBrowser()
{
    if (!qEnvironmentVariableIsEmpty("BROWSER"))
        return true;
    if (QStandardPaths::findExecutable("xdg-open").isEmpty())
        return false;
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
        return true; // no way to ask; trust xdg-open
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/html"});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool QtWebOpener::open(const std::string& url)
{
    if (desktopHasBrowser() && QDesktopServices::openUrl(QUrl(QString::fromStdString(url))))
        return true;
    // The caller shows the guide itself; the log says why the browser did not.
    qCWarning(lcPlatform, "cannot open %s in a browser", url.c_str());
    return false;
}

} // namespace vorlu
