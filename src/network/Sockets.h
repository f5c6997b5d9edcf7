#pragma once
#include "network/ScanListView.h"
#include "commands/RepaintPace.h"
#include "platform/SocketLayer.h"
#include "platform/UserInterfaceServices.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorlu {

inline constexpr std::uint16_t RequestedSocketVersion = 257; // 1.1
inline constexpr int MinimumSockets = 1;

std::uint8_t LoByte(std::uint16_t word);
std::uint8_t HiByte(std::uint16_t word);

// Starts the socket layer and tells the user, in plain boxes, when it failed
// or is unsuitable. The caller carries on in every case.
void StartSockets(SocketLayer& sockets, MessageBoxes& boxes, RepaintPace& pace);

// The bytes of an address written in decimal and joined by dots.
std::string DottedAddress(const std::vector<std::uint8_t>& bytes);

// One lookup as the resolver answered it.
struct Lookup {
    enum class Kind { Address, Unknown, Failure };
    Kind kind = Kind::Unknown;
    std::vector<std::uint8_t> bytes;
};

// Asks the host database; safe on any thread. Never throws: an exception or
// an empty address is a Failure.
Lookup LookupHost(SocketLayer& sockets, const std::string& name);

// Turns a lookup into the record's address text and reports what went wrong:
// an unknown name on the status line, any other failure in a box.
std::string ApplyLookup(const Lookup& lookup, ScanListView& view, MessageBoxes& boxes, RepaintPace& pace);

// Resolves one name on the calling thread.
std::string ResolveAddress(const std::string& name, SocketLayer& sockets, ScanListView& view, MessageBoxes& boxes,
                           RepaintPace& pace);

} // namespace vorlu
