#pragma once
// The sixteen-colour palette (plus one) that parts are painted with, and the
// material a palette entry gives.
#include "scene/Device.h"

#include <array>

namespace vorlu {

inline constexpr int PartColourCount = 17;
// The grey of the table, for a drive whose state is unknown.
inline constexpr int UnknownPartColour = 8;
// Entries 0..16; components above 1 are kept and brighten the lit colour.
extern const std::array<ColorValue, PartColourCount> PartColourTable;

// Diffuse and Ambient from the entry, all else zero. An index outside the
// table gives the all-zero material, whose alpha 0 sends the part to the
// blended pass, where it disappears.
Material PartMaterial(int colourIndex);

} // namespace vorlu
