#include "model/PartResetList.h"

namespace vorlu {

// Names of drive parts and of parts that other models of the unit carried;
// a name this model has no part for restores nothing.
const std::array<std::string_view, PartResetListSize> PartResetList = {
    "Frame5Cube_eth1", "Frame5Cube_eth2", "Frame5Cube_eth3", "Frame5Cube_eth4", "Frame0Cylinder_a1",
    "Frame0Cylinder_b1", "Frame0Cylinder_c1", "Frame29Cylinder_3a", "Frame29Cylinder_3b", "Frame29Cylinder_3c",
    "Frame0Cube_1291", "Frame0Cube_1292", "Frame0Cube_1293", "Frame0Cube_1294", "Cube_26-1", "Cube-12",
    "Cube-2k0", "Cube-2k1", "Cube-2k2", "Cube-2k3", "Cube-2k4", "Cube-2k5", "Cube-2k6", "Cube-2k7",
    "Frame0Cube_1291", "Frame0Cube_1292", "Frame0Cube_1294", "Cube_61-9", "Cube_61-11", "Cube_401-9",
    "Cube_441-5", "Cube_541-5", "Cube_62-9", "Cube_62-11", "Cube_402-9", "Cube_442-5", "Cube_542-5",
    "Cube_63-9", "Cube_63-11", "Cube_403-9", "Cube_443-5", "Cube_543-5", "Cube_64-9", "Cube_64-11",
    "Cube_404-9", "Cube_444-5", "Cube_544-5", "Cube_65-9", "Cube_65-11", "Cube_405-9", "Cube_445-5",
    "Cube_545-5", "Cube_66-9", "Cube_66-11", "Cube_406-9", "Cube_446-5", "Cube_546-5", "Cube_67-11",
    "Cube_407-9", "Cube_447-5", "Cube_547-5", "Cylinder-1d", "Cylinder-1j", "Cylinder-1", "Frame1Cylinder_18",
    "Frame3Cylinder_19", "Frame6Cylinder_20", "Frame35Cube_1", "Frame0Cube", "Frame11Cube_11",
    "Frame25Cube_11", "Cube-2", "Cube_17-8", "Frame29Cylinder_3a", "Frame29Cylinder_3b", "Frame29Cylinder_3c",
    "Frame0Cylinder_1", "e0Cylinder_1", "Frame0Cylinder_1", "Frame5Cube_12", "Frame5Cube_13", "Frame5Cube_14",
    "Frame5Cube_15", "Frame5Cube_16", "Frame5Cube_17", "Frame5Cube_18", "Frame5Cube_19", "Frame5Cube_1211",
    "Frame5Cube_1212", "Frame5Cube_1214", "Frame5Cube_1215", "Frame5Cube_1216", "Frame5Cube_1218",
    "Frame5Cube_1219", "Frame5Cube_1221", "Frame11Cube_20", "Cube_11-8", "Cube-56", "Cube_60-4",
    "Cylinder_3-1", "Frame5Cube_1", "Frame1Cube45", "Frame1Cube46", "Frame1Cube49", "Frame0Cube2v31",
    "Frame0Cube_2v6", "Frame0Cube_2v7", "Frame0Cube_2v8", "Frame5Cube_83", "Frame5Cube_89", "Frame5Cube_82",
    "Frame5Cube_81", "Frame1Cube_11", "Frame1Cube_191", "Frame1Cube_311", "Frame1Cube_161", "Frame15Cube_1",
};

} // namespace vorlu
