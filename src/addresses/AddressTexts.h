#pragma once

namespace vorlu {

// Captions and texts of the address commands, exactly as the user sees them.
inline constexpr const char* ScanAddressesCaption = "Scan Addresses";
inline constexpr const char* AddNodeCaption = "Add Node";
inline constexpr const char* RangeRefusedPrefix = "The range cannot be scanned: ";
inline constexpr const char* NodeRefusedPrefix = "The node cannot be added: ";
inline constexpr const char* NoNodeChosenText = "Choose a node in the node tree first.";

} // namespace vorlu
