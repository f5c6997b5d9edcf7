#pragma once
#include <filesystem>
#include <string>

namespace vorlu {

// The read-only files the program ships (media, demo network, user guide) sit
// beside the executable in a build folder and in the installed data folder
// (share/vorlu-optical, found relative to the executable so that a staged or
// relocated install works) once installed.
std::filesystem::path installedDataFolder(const std::filesystem::path& exeDir);

// True when the executable runs from an install: its data folder exists and
// nothing of the build folder's layout sits beside it.
bool runsInstalled(const std::filesystem::path& exeDir);

// The shipped file at the relative path: beside the executable when it is
// there, else in the installed data folder (also when missing from both, so
// the error names the place an install would have it).
std::filesystem::path shippedFile(const std::filesystem::path& exeDir, const std::string& relative);

// The same for the running program.
std::filesystem::path executableFolder();

} // namespace vorlu
