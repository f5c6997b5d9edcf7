#include "platform/InstalledData.h"

#include <QCoreApplication>

#include <system_error>

#ifndef VORLU_DATA_FROM_BIN
#define VORLU_DATA_FROM_BIN "../share/vorlu-optical"
#endif

namespace vorlu {

namespace fs = std::filesystem;

fs::path installedDataFolder(const fs::path& exeDir)
{
    return (exeDir / VORLU_DATA_FROM_BIN).lexically_normal();
}

bool runsInstalled(const fs::path& exeDir)
{
    std::error_code ec;
    return fs::is_directory(installedDataFolder(exeDir), ec) && !fs::exists(exeDir / "demo", ec);
}

fs::path shippedFile(const fs::path& exeDir, const std::string& relative)
{
    std::error_code ec;
    const fs::path beside = exeDir / relative;
    if (fs::exists(beside, ec))
        return beside;
    return installedDataFolder(exeDir) / relative;
}

fs::path executableFolder()
{
    return QCoreApplication::applicationDirPath().toStdString();
}

} // namespace vorlu
