#include "app/UserGuide.h"

#include "platform/InstalledData.h"

#include <QString>
#include <QUrl>

namespace vorlu {

std::string userGuideUrl()
{
    return QUrl::fromLocalFile(QString::fromStdString(shippedFile(executableFolder(), "docs/user-guide.html").string()))
        .toString()
        .toStdString();
}

} // namespace vorlu
