#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace vorlu {

// Why a computer name may not become a folder name, or nothing when it may.
// Names come from the network, so anything that could leave the program
// folder or that no Windows computer name can hold is refused.
std::optional<std::string> folderNameProblem(const std::string& name);

// The node's folder: program folder + name. Only call with an accepted name.
std::filesystem::path nodeFolder(const std::filesystem::path& programFolder, const std::string& name);

// Makes the node's folder when it is missing; false when it cannot. Only call
// with an accepted name.
bool makeNodeFolder(const std::filesystem::path& programFolder, const std::string& name);

// Text for the progress dialog when a name is refused.
std::string refusedFolderText(const std::string& name, const std::string& reason);

} // namespace vorlu
