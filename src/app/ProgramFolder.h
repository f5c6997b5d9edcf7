#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace vorlu {

// Where lg.ini, vrsopt.ini and the node folders live: the given data folder,
// else the demo folder, else the executable's folder when it is writable,
// else the user's data folder. Creates the folder when missing; nothing and
// an error when that fails.
std::optional<std::filesystem::path> chooseProgramFolder(const std::optional<std::string>& dataDir, bool demo,
                                                         std::string& error);

} // namespace vorlu
