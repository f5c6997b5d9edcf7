#include "scene/MediaFolder.h"

#include "platform/InstalledData.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <system_error>

namespace vorlu {

namespace fs = std::filesystem;

std::string EnsureTrailingSeparator(std::string path)
{
    const char sep = static_cast<char>(fs::path::preferred_separator);
    if (path.empty() || path.back() != sep)
        path += sep;
    return path;
}

MediaSearch DefaultMediaSearch()
{
    MediaSearch search;
    std::error_code ec;
    search.currentDir = fs::current_path(ec);
    if (QCoreApplication::instance()) {
        const fs::path exeDir = QCoreApplication::applicationDirPath().toStdString();
        search.folders.push_back(exeDir / "media");
        for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
            search.folders.push_back(fs::path(dir.toStdString()) / "media");
        search.folders.push_back(installedDataFolder(exeDir) / "media");
    }
    return search;
}

std::string LocateMediaFolder(const std::string& fileName, bool /*preferMedia*/, const MediaSearch& search)
{
    std::error_code ec;
    if (!search.currentDir.empty() && fs::is_regular_file(search.currentDir / fileName, ec))
        return EnsureTrailingSeparator(search.currentDir.string());
    for (const auto& folder : search.folders)
        if (fs::is_regular_file(folder / fileName, ec))
            return EnsureTrailingSeparator(folder.string());
    if (!search.folders.empty())
        return EnsureTrailingSeparator(search.folders.front().string());
    return EnsureTrailingSeparator(search.currentDir.string());
}

std::string LocateMediaFolder(const std::string& fileName, bool preferMedia)
{
    return LocateMediaFolder(fileName, preferMedia, DefaultMediaSearch());
}

} // namespace vorlu
