#include "app/UserGuide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace vorlu {

std::string userGuideUrl()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("docs/user-guide.html");
    QString path = beside;
    if (!QFileInfo::exists(beside)) {
        const QString installed =
            QStandardPaths::locate(QStandardPaths::GenericDataLocation, "vorlu-optical/docs/user-guide.html");
        if (!installed.isEmpty())
            path = installed;
    }
    return QUrl::fromLocalFile(path).toString().toStdString();
}

} // namespace vorlu
