#pragma once
#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace vorlu {

using Ipv4Bytes = std::array<std::uint8_t, 4>; // network order: first byte first

// The IPv4 address each computer found by a network scan answered from, by
// name. A workgroup computer is usually unknown to this machine's resolver,
// yet it told the scan where it is. Safe to use from several threads: scans
// fill it while earlier nodes are resolved.
class AnnouncedAddresses {
public:
    // A later announcement of the same name replaces the earlier one.
    void remember(const std::string& name, Ipv4Bytes address);
    // Names match without regard to letter case.
    std::optional<Ipv4Bytes> find(const std::string& name) const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Ipv4Bytes> byName_; // case-folded names
};

} // namespace vorlu
