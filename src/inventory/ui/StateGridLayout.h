#pragma once
// Header row and column widths of the three state grids.
#include <array>
#include <optional>

namespace vorlu {

inline constexpr int StateGridColumns = 5;
inline constexpr std::array<const char*, StateGridColumns> StateGridHeaders = {"", "Sensor", "Status", "IP", "Name"};

// Width of every column in twips: wider on standard screens. Unknown until
// the screen density has been determined, and then the widths stay as they are.
inline std::optional<int> StateGridColumnTwips(std::optional<bool> standardDpi)
{
    if (!standardDpi)
        return std::nullopt;
    return *standardDpi ? 3786 : 2400;
}

} // namespace vorlu
