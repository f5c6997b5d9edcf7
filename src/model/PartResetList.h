#pragma once
// The parts that a reset of the state display returns to their file
// materials, in the order they are restored. Some names occur twice.
#include <array>
#include <string_view>

namespace vorlu {

inline constexpr std::size_t PartResetListSize = 117;
extern const std::array<std::string_view, PartResetListSize> PartResetList;

} // namespace vorlu
