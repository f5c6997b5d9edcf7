#pragma once
#include "network/TreeView.h"
#include "platform/Management.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

struct InventoryDrive {
    std::string drive;
    std::string name;
};

// What a node's report file says: the count line as read (it may exceed the
// drives kept) and the first ten drives.
struct InventoryReport {
    long long InventoryCount = 0;
    std::vector<InventoryDrive> drives; // at most 10
};

inline constexpr std::size_t MaxShownDrives = 10;

// The report's content for the rows of "Select Drive, Name From
// Win32_CDROMDrive": "CD", the count, drive and name of each row, and the
// final empty line. A property with no value is an empty line; line breaks
// inside values are dropped.
std::string formatInventoryReport(const std::vector<WmiRow>& rows);

// nullopt when the first line is not "CD" or the file ends before the drives
// its count promises.
std::optional<InventoryReport> parseInventoryReport(const std::string& text);

// The count lines of both drive files: the leading decimal number, rounded
// half to even; 0 when the line does not start with a number.
long long countLine(const std::string& line);

// Key of drive k's entry under "28 node".
std::string driveEntryKey(std::size_t k);

// The units and racks the model shows for a node's drives.
class ModelUnits {
public:
    virtual ~ModelUnits() = default;
    virtual void hideAllUnits() = 0;
    // Switches on the units and racks for driveCount drives (never off).
    virtual void showUnitsForDrives(int driveCount, bool showRacks) = 0;
    virtual void renderScene() = 0;
};

// Adds the drive entries under "28 node" and shows the units and racks for
// the report's drives; "NON DETECTED" when it lists none.
void build_cd(const InventoryReport& report, TreeView& hardwareTree, ModelUnits& units, bool showRacks);

} // namespace vorlu
