#include "platform/ui/QtUserInterfaceServices.h"

#include "platform/Log.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
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

void QtWebOpener::open(const std::string& url)
{
    // The user sees nothing open; the log says why.
    if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(url))))
        qCWarning(lcPlatform, "cannot open %s in a browser", url.c_str());
}

} // namespace vorlu
