#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vorlu {

// What one call of the platform's server enumeration answers.
struct EnumerationAnswer {
    std::uint32_t code = 0;          // 0 done, 234 more data, anything else a platform error
    std::vector<std::string> names;  // in the order the platform lists them
};

// Thrown when the enumeration fails in a way that is not a platform code.
struct EnumerationFailure {};

class ServerEnumerator {
public:
    static constexpr std::uint32_t kAllServerTypes = 0xFFFFFFFFu;
    static constexpr std::uint32_t kMoreData = 234;
    virtual ~ServerEnumerator() = default;
    // Lists every visible server once; may throw EnumerationFailure.
    virtual EnumerationAnswer enumerateServers(std::uint32_t typeMask) = 0;
};

} // namespace vorlu
