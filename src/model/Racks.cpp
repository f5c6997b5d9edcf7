#include "model/Racks.h"

#include "model/ModelLayout.h"
#include "scene/Scene.h"

#include <algorithm>

namespace vorlu {

VisibleModel VisibleFor(int driveCount, bool showRacks)
{
    const int n = std::clamp(driveCount, 0, UnitCount);
    return {n, showRacks ? std::min((n + 1) / 2, RackCount) : 0};
}

void ShowUnitsForDrives(Scene& scene, int driveCount, bool showRacks)
{
    // Row by row as the drive count grows: the row's rack, then its unit.
    for (int row = 1; row <= std::min(driveCount, UnitCount); ++row) {
        const VisibleModel v = VisibleFor(row, showRacks);
        for (int r = 0; r < v.racks && r < static_cast<int>(scene.RackFrames.size()); ++r)
            if (const auto& rack = scene.RackFrames[static_cast<std::size_t>(r)])
                rack->Enabled = true;
        for (int u = 0; u < v.units && u < static_cast<int>(scene.UnitFrames.size()); ++u)
            if (const auto& unit = scene.UnitFrames[static_cast<std::size_t>(u)])
                unit->Enabled = true;
    }
}

} // namespace vorlu
