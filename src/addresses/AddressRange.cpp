#include "addresses/AddressRange.h"

#include "nodes/TextLines.h"

#include <charconv>

namespace vorlu {

std::optional<std::uint32_t> parseIPv4(const std::string& text)
{
    std::uint32_t address = 0;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return std::nullopt;
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 4)
            ++pos;
        const std::size_t len = pos - start;
        if (len == 0 || len > 3 || (len > 1 && text[start] == '0'))
            return std::nullopt;
        unsigned value = 0;
        std::from_chars(text.data() + start, text.data() + pos, value);
        if (value > 255)
            return std::nullopt;
        address = (address << 8) | value;
    }
    if (pos != text.size())
        return std::nullopt;
    return address;
}

std::string formatIPv4(std::uint32_t a)
{
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." + std::to_string((a >> 8) & 255) +
           "." + std::to_string(a & 255);
}

namespace {

std::optional<AddressRange> refuse(std::string& reason, std::string why)
{
    reason = std::move(why);
    return std::nullopt;
}

// Connections to these cannot reach a computer of the network.
std::optional<std::string> unusable(std::uint32_t first, std::uint32_t last)
{
    if (first >> 24 == 0)
        return "addresses 0.x.x.x mean \"this network\", not a computer";
    if (last >= 0xE0000000u)
        return "addresses from 224.0.0.0 up are multicast or reserved, not computers";
    return std::nullopt;
}

std::optional<AddressRange> checked(std::uint64_t first, std::uint64_t last, std::string& reason)
{
    const std::uint64_t count = last - first + 1;
    if (count > MaxRangeAddresses)
        return refuse(reason, "the range holds " + std::to_string(count) + " addresses; at most " +
                                  std::to_string(MaxRangeAddresses) + " (a /16) can be scanned at once");
    if (auto why = unusable(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last)))
        return refuse(reason, *why);
    return AddressRange{static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(count)};
}

} // namespace

std::optional<AddressRange> parseAddressRange(const std::string& input, std::string& reason)
{
    const std::string text = trimBlanks(input);
    if (text.empty())
        return refuse(reason, "no range given: write a block such as 192.168.1.0/24 or a range such as "
                              "192.168.1.10-192.168.1.99");
    if (const auto slash = text.find('/'); slash != std::string::npos) {
        const std::string base = trimBlanks(text.substr(0, slash));
        const std::string bits = trimBlanks(text.substr(slash + 1));
        const auto address = parseIPv4(base);
        if (!address)
            return refuse(reason, "\"" + base + "\" is not an IPv4 address (four numbers 0 to 255 joined by dots)");
        int prefix = -1;
        const auto res = std::from_chars(bits.data(), bits.data() + bits.size(), prefix);
        if (bits.empty() || res.ec != std::errc() || res.ptr != bits.data() + bits.size() || prefix < 0 ||
            prefix > 32)
            return refuse(reason, "\"/" + bits + "\" is not a prefix length from 0 to 32");
        const std::uint64_t size = std::uint64_t{1} << (32 - prefix);
        const std::uint64_t network = *address & ~(size - 1);
        if (size > MaxRangeAddresses)
            return refuse(reason, "a /" + std::to_string(prefix) + " holds " + std::to_string(size) +
                                      " addresses; at most " + std::to_string(MaxRangeAddresses) +
                                      " (a /16) can be scanned at once");
        // The network and broadcast addresses of a block are no computer's.
        if (size >= 4)
            return checked(network + 1, network + size - 2, reason);
        return checked(network, network + size - 1, reason);
    }
    const auto dash = text.find('-');
    const std::string a = trimBlanks(text.substr(0, dash));
    const auto first = parseIPv4(a);
    if (!first)
        return refuse(reason, "\"" + text + "\" is neither a block such as 192.168.1.0/24 nor a range such as "
                                            "192.168.1.10-192.168.1.99");
    if (dash == std::string::npos)
        return checked(*first, *first, reason);
    const std::string b = trimBlanks(text.substr(dash + 1));
    const auto last = parseIPv4(b);
    if (!last)
        return refuse(reason, "\"" + b + "\" is not an IPv4 address (four numbers 0 to 255 joined by dots)");
    if (*last < *first)
        return refuse(reason, "the range runs backwards: " + b + " comes before " + a);
    return checked(*first, *last, reason);
}

std::string defaultRangeText(const std::string& localAddress)
{
    const auto address = parseIPv4(localAddress);
    if (!address || *address >> 24 == 0 || *address >> 24 == 127 || *address >= 0xE0000000u)
        return {};
    return formatIPv4(*address & 0xFFFFFF00u) + "/24";
}

} // namespace vorlu
