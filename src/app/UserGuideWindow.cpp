#include "app/UserGuideWindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vorlu {

UserGuideWindow::UserGuideWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("UserGuideWindow");
    setWindowTitle("Vorlu Optical - User Guide");
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(760, 640);
}

void UserGuideWindow::showGuide(const QString& fileUrl)
{
    const QUrl url(fileUrl);
    if (url.isLocalFile() && QFileInfo::exists(url.toLocalFile()))
        browser_->setSource(url);
    else
        browser_->setPlainText("The user guide is not installed (" + url.toLocalFile() + ").");
    show();
    raise();
    activateWindow();
}

} // namespace vorlu
