#include "platform/SysfsOpticalDrives.h"

#include <algorithm>
#include <fstream>

namespace vorlu {

namespace {

constexpr const char* kRomType = "5";

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string firstLine(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return trimmed(line);
}

// udev names the node after the kernel's DEVNAME, which may differ from the entry.
std::string deviceNodeName(const std::filesystem::path& entry)
{
    std::ifstream in(entry / "uevent");
    std::string line;
    const std::string key = "DEVNAME=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0)
            continue;
        const std::string name = trimmed(line.substr(key.size()));
        if (!name.empty() && name.find("..") == std::string::npos)
            return name;
    }
    return entry.filename().string();
}

bool kernelOrder(const std::string& a, const std::string& b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

} // namespace

std::vector<SysfsOpticalDrive> findOpticalDrives(const std::filesystem::path& sysfsRoot)
{
    std::error_code error;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(sysfsRoot / "class" / "block", error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(), kernelOrder);

    std::vector<SysfsOpticalDrive> drives;
    for (const std::string& name : names) {
        const auto entry = sysfsRoot / "class" / "block" / name;
        const auto device = entry / "device";
        if (firstLine(device / "type") != kRomType)
            continue;
        drives.push_back({"/dev/" + deviceNodeName(entry), firstLine(device / "vendor"), firstLine(device / "model"),
                          firstLine(device / "state")});
    }
    return drives;
}

} // namespace vorlu
