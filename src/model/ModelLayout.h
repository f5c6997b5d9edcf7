#pragma once
// Which model files make up a unit and a rack, and where units and racks stand
// in the model container.
#include <array>
#include <string>
#include <vector>

namespace vorlu {

inline constexpr int UnitCount = 10;
inline constexpr int RackCount = 5;

// The 26 files loaded into unit 1..10, in load order: the 22 common files, the
// unit's own file (which holds its drive part), then three more common files.
std::vector<std::string> UnitMeshFiles(int unit);
// The file that only unit 1..10 loads.
std::string UnitOwnFile(int unit);
// The seven files loaded into every rack, in load order.
const std::vector<std::string>& RackMeshFiles();

// Offsets added to a unit's or rack's position after loading (unit 1..10, rack 1..5).
// Two columns of units, five rows two apart; rack r stands one row above row r.
std::array<double, 3> UnitOffset(int unit);
std::array<double, 3> RackOffset(int rack);

// Translation of the container that holds all units and racks.
inline constexpr std::array<float, 3> ContainerTranslation = {1.0f, 5.0f, 0.0f};

// The drive part of unit 1..10 (painted with the drive's state, clicked to select it).
std::string DrivePartName(int unit);

} // namespace vorlu
