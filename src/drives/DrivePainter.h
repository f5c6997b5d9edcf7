#pragma once
#include <cstddef>
#include <string>

namespace vorlu {

// The model's side of showing drive states: the evaluation paints one part
// per drive, and every path that shows a node resets the parts first. The
// model view fills it in; without a model both do nothing.
class DrivePainter {
public:
    virtual ~DrivePainter() = default;
    // Paints the first mesh of the named part with the palette colour.
    virtual void decide_colour(const std::string& /*partName*/, int /*colourIndex*/) {}
    // Returns every part of the reset list to its file materials.
    virtual void restoreAllParts() {}
};

// The part that shows drive k (1-based): the drive part of unit k, the one a
// click on that unit reads. Empty beyond the tenth unit: such a drive is
// counted and listed but paints nothing.
inline std::string DrivePartName(std::size_t k)
{
    if (k < 1 || k > 10)
        return {};
    return "Frame0Cylinder_a" + std::to_string(k);
}

} // namespace vorlu
