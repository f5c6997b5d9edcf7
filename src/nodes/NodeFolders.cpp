#include "nodes/NodeFolders.h"

namespace vorlu {

std::optional<std::string> folderNameProblem(const std::string& name)
{
    if (name.empty())
        return "the name is empty";
    if (name == "." || name.find("..") != std::string::npos)
        return "the name contains \"..\"";
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F)
            return "the name contains a control character";
        if (c == '/' || c == '\\')
            return "the name contains a path separator";
        if (std::string_view(":*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return std::string("the name contains the character ") + static_cast<char>(c);
    }
    return std::nullopt;
}

std::filesystem::path nodeFolder(const std::filesystem::path& programFolder, const std::string& name)
{
    return programFolder / name;
}

bool makeNodeFolder(const std::filesystem::path& programFolder, const std::string& name)
{
    const std::filesystem::path folder = nodeFolder(programFolder, name);
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec) || std::filesystem::create_directory(folder, ec);
}

std::string refusedFolderText(const std::string& name, const std::string& reason)
{
    return "No folder made for node \"" + name + "\": " + reason;
}

} // namespace vorlu
