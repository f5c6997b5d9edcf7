#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vorlu {

// Colour indexes of the sixteen-colour palette that a drive's state takes.
namespace StatusColour {
constexpr int None = 0;
constexpr int Green = 2;
constexpr int Amber = 6;
constexpr int Red = 12;
} // namespace StatusColour

// One evaluated drive, as the detail panel shows it.
struct DriveStatus {
    std::string label; // "CD " + position in the diagnostics file
    std::string status;
    std::string availabilityText;
    std::string configManagerErrorText;
    std::string errorCleared;
    std::string errorDescription;
    std::string lastErrorCode;
    std::string statusInfoText;
    int colour = StatusColour::None;
};

// The evaluated drives of the node on display, numbered from 1 to
// DriveCount(). No upper limit: a node may have any number of drives.
class DriveStatusTable {
public:
    std::size_t DriveCount() const { return drives_.size(); }
    // Entry k, 1 <= k <= DriveCount().
    DriveStatus& operator[](std::size_t k) { return drives_.at(k - 1); }
    const DriveStatus& operator[](std::size_t k) const { return drives_.at(k - 1); }
    // Appends an empty entry and returns it; its number is DriveCount().
    DriveStatus& add() { return drives_.emplace_back(); }
    void clear() { drives_.clear(); }
    // The first entry whose label equals label exactly, or null.
    DriveStatus* findLabel(const std::string& label)
    {
        for (DriveStatus& d : drives_)
            if (d.label == label)
                return &d;
        return nullptr;
    }

private:
    std::vector<DriveStatus> drives_;
};

} // namespace vorlu
