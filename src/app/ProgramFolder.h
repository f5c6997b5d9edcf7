#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace vorlu {

// Where lg.ini, vrsopt.ini and the node folders live: the given data folder,
// else the demo folder, else the executable's folder when it is writable,
// else the user's data folder. Creates the folder when missing; nothing and
// an error naming the folder and the reason when it cannot be used.
std::optional<std::filesystem::path> chooseProgramFolder(const std::optional<std::string>& dataDir, bool demo,
                                                         std::string& error);

// Removes the temporary files interrupted saves left in the program folder
// and in the node folders, those of the program's own files alone.
void removeInterruptedSaves(const std::filesystem::path& folder);

} // namespace vorlu
