#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace vorlu {

struct MediaSearch {
    std::filesystem::path currentDir;
    // Searched in order after the current folder, e.g. the media folder
    // beside the executable, then the installed data folders.
    std::vector<std::filesystem::path> folders;
};

// The current folder, the "media" folder beside the executable, then the
// "media" folders of the installed data locations.
MediaSearch DefaultMediaSearch();

std::string EnsureTrailingSeparator(std::string path);

// The folder to read model files from, ending in a separator: the current
// folder when fileName is there, otherwise the first search folder holding
// it, otherwise the first search folder. preferMedia selects between two
// trees of a samples installation, which this platform does not have.
std::string LocateMediaFolder(const std::string& fileName, bool preferMedia, const MediaSearch& search);
std::string LocateMediaFolder(const std::string& fileName, bool preferMedia);

} // namespace vorlu
