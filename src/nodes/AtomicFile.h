#pragma once
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>

namespace vorlu {

// The temporary file of a save is ".<name>" followed by this, the X's made
// unique by mkstemp.
inline constexpr const char* TemporarySuffix = ".XXXXXX";

// Writes the whole content to a temporary file beside the target, flushes it
// to disk and renames it over the target, so a failed or interrupted write
// leaves the previous file whole. The file is its owner's alone (0600): the
// program's files map the network and hold logins. Returns false (and a
// reason, also logged as a warning) on failure.
bool writeFileAtomically(const std::filesystem::path& target, const std::string& content,
                         std::string* error = nullptr);

// Removes from the folder the temporary files an interrupted save of one of
// the targets left (".lg.ini.a1B2c3"), and nothing else; a file younger than
// a minute may be a save under way and is kept. Returns how many went.
std::size_t removeLeftTemporaries(const std::filesystem::path& folder, std::initializer_list<const char*> targets);

struct FileContent {
    std::string name; // within the folder
    std::string content;
};

// Writes several files of one folder the same way, with one sync of the
// folder for all of them. Nothing is replaced unless every file was written;
// a failed rename leaves each file either old or new, never half.
bool writeFilesAtomically(const std::filesystem::path& folder, std::span<const FileContent> files,
                          std::string* error = nullptr);

// Reads a whole regular file; false, with the file's name and the reason, when
// it is missing, is not a regular file (a folder, a pipe), cannot be read or
// is longer than maxBytes.
bool readWholeFile(const std::filesystem::path& path, std::string& content, std::string* error = nullptr,
                   std::size_t maxBytes = SIZE_MAX);

} // namespace vorlu
