#include "nodes/DataCache.h"

#include "nodes/NodeFolders.h"

#include <system_error>

namespace vorlu {

namespace {

namespace fs = std::filesystem;

bool deletable(const fs::path& file)
{
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(file, ec);
    return !ec && (fs::is_regular_file(st) || fs::is_symlink(st));
}

// A folder reached through a link could lie anywhere on the disk.
bool realFolder(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(folder, ec)) && !ec;
}

} // namespace

std::vector<fs::path> clearDataCache(const fs::path& programFolder, const NodeTable& nodes,
                                     const std::function<void()>& yield)
{
    std::vector<fs::path> deleted;
    for (const char* name : DataCacheFiles) {
        for (std::size_t i = 1; i <= nodes.count(); ++i) {
            const std::string& node = nodes.at(i).Name;
            if (folderNameProblem(node))
                continue;
            const fs::path folder = nodeFolder(programFolder, node);
            const fs::path file = folder / name;
            if (!realFolder(folder) || !deletable(file))
                continue;
            std::error_code ec;
            if (fs::remove(file, ec) && !ec)
                deleted.push_back(file);
        }
        if (yield)
            yield();
    }
    return deleted;
}

} // namespace vorlu
