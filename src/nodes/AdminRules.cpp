#include "nodes/AdminRules.h"

#include "nodes/NodeFile.h"

#include <system_error>

namespace vorlu {

void applyLabelBoxRule(std::size_t box, std::array<bool, 3>& ticked, std::string& mode)
{
    if (box >= ticked.size())
        return;
    if (ticked[box])
        mode = LabelModes[box];
    for (std::size_t other = 0; other < ticked.size(); ++other)
        if (other != box)
            ticked[other] = false;
}

std::string passwordCell(const std::string& password, bool showPasswords)
{
    if (showPasswords)
        return password;
    std::string stars;
    for (unsigned char c : password)
        if ((c & 0xC0) != 0x80) // continuation bytes belong to the character before
            stars += '*';
    return stars;
}

std::size_t scannedCount(const NodeTable& nodes)
{
    std::size_t n = 0;
    for (std::size_t i = 1; i <= nodes.count(); ++i)
        if (nodes.at(i).Scanned == "Scanned")
            ++n;
    return n;
}

std::string signedCountText(std::size_t count) { return " " + std::to_string(count); }

bool resetNodeList(NodeTable& nodes, const std::filesystem::path& programFolder, std::string* error)
{
    // The file goes first: a table emptied in memory while the file stays
    // would be a reset reported as done and undone at the next start.
    std::error_code ec;
    std::filesystem::remove(programFolder / NodeFileName, ec);
    if (ec) {
        if (error)
            *error = ec.message();
        return false;
    }
    nodes.clear();
    return true;
}

} // namespace vorlu
