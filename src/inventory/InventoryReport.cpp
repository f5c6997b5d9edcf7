#include "inventory/InventoryReport.h"

#include "network/NodeTree.h"
#include "nodes/TextLines.h"

#include <algorithm>
#include <cmath>

namespace vorlu {

std::string formatInventoryReport(const std::vector<WmiRow>& rows)
{
    std::string text;
    appendLine(text, "CD");
    appendLine(text, std::to_string(rows.size()));
    for (const WmiRow& row : rows) {
        appendLine(text, row.property("Drive").value_or(""));
        appendLine(text, row.property("Name").value_or(""));
    }
    appendLine(text, "");
    return text;
}

long long countLine(const std::string& line)
{
    double v = 0;
    if (!leadingNumber(line, v) || !std::isfinite(v))
        return 0;
    // Far more than any file can hold; the readers stop at the missing line.
    v = std::clamp(std::nearbyint(v), -1e15, 1e15);
    return static_cast<long long>(v);
}

std::optional<InventoryReport> parseInventoryReport(const std::string& text)
{
    LineReader in(text);
    std::string line;
    if (!in.next(line) || line != "CD")
        return std::nullopt;
    if (!in.next(line))
        return std::nullopt;
    InventoryReport report;
    report.InventoryCount = countLine(line);
    for (long long k = 1; k <= report.InventoryCount; ++k) {
        InventoryDrive d;
        if (!in.next(d.drive) || !in.next(d.name))
            return std::nullopt;
        if (report.drives.size() < MaxShownDrives)
            report.drives.push_back(std::move(d));
    }
    return report;
}

std::string driveEntryKey(std::size_t k)
{
    // The eighth key is ours: every other letter is taken.
    static const char* keys[MaxShownDrives] = {"28b node", "28e node", "28f node", "28g node", "28h node",
                                               "28i node", "28j node", "28m node", "28k node", "28l node"};
    return k >= 1 && k <= MaxShownDrives ? keys[k - 1] : std::string();
}

void build_cd(const InventoryReport& report, TreeView& hardwareTree, ModelUnits& units, bool showRacks)
{
    if (report.InventoryCount <= 0) {
        hardwareTree.addEntry(DrivesKey, "28a node", "NON DETECTED", "nd", 0);
        return;
    }
    for (std::size_t k = 1; k <= report.drives.size(); ++k) {
        units.showUnitsForDrives(static_cast<int>(k), showRacks);
        hardwareTree.addEntry(DrivesKey, driveEntryKey(k), report.drives[k - 1].name, "dvd", 0);
    }
}

} // namespace vorlu
