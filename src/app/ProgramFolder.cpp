#include "app/ProgramFolder.h"

#include "platform/InstalledData.h"

#include <QStandardPaths>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vorlu {

namespace {

std::filesystem::path userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}

bool isWritableFolder(const std::filesystem::path& p) { return ::access(p.c_str(), W_OK) == 0; }

// The folder will hold the network's passwords: every level this creates is the owner's alone.
// Folders that exist already keep their modes.
void createOwnerOnly(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> missing;
    std::error_code ec;
    for (auto p = std::filesystem::absolute(folder, ec); !p.empty() && !std::filesystem::exists(p, ec);
         p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path())
            break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        ::mkdir(it->c_str(), 0700);
}

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
        folder = executableFolder();
        // An installed program never writes beside itself, even when it may (root, a staged root).
        if (runsInstalled(folder) || !isWritableFolder(folder))
            folder = userDataFolder();
    }
    createOwnerOnly(folder);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec) || !isWritableFolder(folder)) {
        error = "vorlu-optical: cannot use " + folder.string() + " as the program folder";
        return std::nullopt;
    }
    return std::filesystem::absolute(folder, ec);
}

} // namespace vorlu
