#include "app/ProgramFolder.h"

#include "app/WindowGeometry.h"
#include "inventory/InventoryTexts.h"
#include "nodes/NodeFolders.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "nodes/Settings.h"
#include "platform/InstalledData.h"
#include "platform/Log.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <system_error>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/statvfs.h>
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

// Why the folder cannot be the program folder, or nothing when it can.
std::optional<std::string> unusableBecause(const std::filesystem::path& folder)
{
    std::error_code ec;
    if (!std::filesystem::exists(folder, ec))
        return "it does not exist and cannot be created";
    if (!std::filesystem::is_directory(folder, ec))
        return "it is not a folder";
    if (!isWritableFolder(folder))
        return std::string("it cannot be written (") + std::strerror(errno) + ")";
    struct statvfs fs {};
    if (::statvfs(folder.c_str(), &fs) == 0 && fs.f_bavail == 0)
        return "the disk is full";
    return std::nullopt;
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
    if (const auto why = unusableBecause(folder)) {
        error = "vorlu-optical: cannot use " + folder.string() + " as the program folder: " + *why;
        return std::nullopt;
    }
    std::error_code ec;
    return std::filesystem::absolute(folder, ec);
}

void removeInterruptedSaves(const std::filesystem::path& folder)
{
    std::size_t removed = removeLeftTemporaries(folder, {NodeFileName, SettingsFileName, WindowFileName});
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory(ec) && !entry.is_symlink(ec) && !folderNameProblem(name))
            removed += removeLeftTemporaries(entry.path(), {ReportFileName, DiagnosticsFileName});
    }
    if (removed > 0)
        qCInfo(lcApp, "removed %zu temporary files that interrupted saves had left", removed);
}

} // namespace vorlu
