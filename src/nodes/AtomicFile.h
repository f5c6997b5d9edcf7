#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vorlu {

enum class FileAccess { Default, OwnerOnly };

// Writes the whole content to a temporary file beside the target, flushes it
// to disk and renames it over the target, so a failed or interrupted write
// leaves the previous file whole. Returns false (and a reason) on failure.
bool writeFileAtomically(const std::filesystem::path& target, const std::string& content, FileAccess access,
                         std::string* error = nullptr);

struct FileContent {
    std::string name; // within the folder
    std::string content;
};

// Writes several files of one folder the same way, with one sync of the
// folder for all of them. Nothing is replaced unless every file was written;
// a failed rename leaves each file either old or new, never half.
bool writeFilesAtomically(const std::filesystem::path& folder, std::span<const FileContent> files, FileAccess access,
                          std::string* error = nullptr);

// Reads a whole regular file; false, with the file's name and the reason, when
// it is missing, is not a regular file (a folder, a pipe), cannot be read or
// is longer than maxBytes.
bool readWholeFile(const std::filesystem::path& path, std::string& content, std::string* error = nullptr,
                   std::size_t maxBytes = SIZE_MAX);

} // namespace vorlu
