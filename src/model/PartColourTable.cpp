#include "model/PartColourTable.h"

namespace vorlu {

const std::array<ColorValue, PartColourCount> PartColourTable = {{
    {0.0f, 0.0f, 0.0f, 1.0f}, {0.3f, 0.1f, 1.0f, 1.0f}, {0.5f, 1.0f, 0.2f, 1.0f}, {0.5f, 1.0f, 1.0f, 1.0f},
    {0.5f, 0.0f, 0.0f, 1.0f}, {0.5f, 0.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 0.2f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f},
    {0.8f, 0.8f, 0.8f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {0.3f, 2.0f, 2.0f, 1.0f},
    {1.0f, 0.0f, 0.0f, 1.0f}, {2.5f, 0.5f, 2.5f, 1.0f}, {1.0f, 1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f},
    {2.0f, 2.0f, 2.0f, 1.0f},
}};

Material PartMaterial(int colourIndex)
{
    Material m{};
    if (colourIndex >= 0 && colourIndex < PartColourCount)
        m.Diffuse = PartColourTable[static_cast<std::size_t>(colourIndex)];
    m.Ambient = m.Diffuse;
    return m;
}

} // namespace vorlu
