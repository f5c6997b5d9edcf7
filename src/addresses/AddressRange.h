#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vorlu {

// Larger ranges are refused: a /16 is the most a small network's
// administrator scans, and every address costs a connection attempt.
inline constexpr std::uint32_t MaxRangeAddresses = 65536;

// IPv4 addresses first .. first + count - 1, in host byte order.
struct AddressRange {
    std::uint32_t first = 0;
    std::uint32_t count = 0;

    std::uint32_t at(std::uint32_t i) const { return first + i; }
};

// A dotted IPv4 address of four decimal numbers 0..255; leading zeros are
// refused, since other tools read them as octal.
std::optional<std::uint32_t> parseIPv4(const std::string& text);
std::string formatIPv4(std::uint32_t address);

// "192.168.1.0/24" or "192.168.1.10-192.168.1.99" (blanks allowed around the
// parts). A block of /30 or wider leaves out its network and broadcast
// addresses. Anything else, more than MaxRangeAddresses addresses, a range
// that runs backwards or one that holds multicast, reserved or "this network"
// addresses is refused with the reason in reason.
std::optional<AddressRange> parseAddressRange(const std::string& text, std::string& reason);

// The /24 this computer's address is in, as the scan dialog offers it first;
// empty when the address is not a usable IPv4 address.
std::string defaultRangeText(const std::string& localAddress);

} // namespace vorlu
