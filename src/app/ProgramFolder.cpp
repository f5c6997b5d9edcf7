#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <system_error>
#include <unistd.h>

namespace vorlu {

namespace {

std::filesystem::path userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}

bool isWritableFolder(const std::filesystem::path& p) { return ::access(p.c_str(), W_OK) == 0; }

} // namespace

std::optional<std::filesystem::path> chooseProgramFolder(const std::optional<std::string>& dataDir, bool demo,
                                                         std::string& error)
{
    std::filesystem::path folder;
    if (dataDir)
        folder = *dataDir;
    else if (demo)
        folder = userDataFolder() / "demo";
    else {
        folder = QCoreApplication::applicationDirPath().toStdString();
        if (!isWritableFolder(folder))
            folder = userDataFolder();
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec) || !isWritableFolder(folder)) {
        error = "vorlu-optical: cannot use " + folder.string() + " as the program folder";
        return std::nullopt;
    }
    return std::filesystem::absolute(folder, ec);
}

} // namespace vorlu
