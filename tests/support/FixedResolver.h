#pragma once
#include "platform/SocketLayer.h"

#include <map>
#include <string>

namespace vorlu::test {

// Resolves the names of a fixed map, exactly as written; records start-up.
class FixedResolver : public SocketLayer {
public:
    explicit FixedResolver(std::map<std::string, std::vector<std::uint8_t>> hosts) : hosts_(std::move(hosts)) {}

    SocketStartup startup(std::uint16_t requested) override
    {
        lastRequested = requested;
        return answer;
    }
    std::optional<std::vector<std::uint8_t>> resolve(const std::string& name) override
    {
        const auto at = hosts_.find(name);
        if (at == hosts_.end())
            return std::nullopt;
        return at->second;
    }

    SocketStartup answer;
    std::uint16_t lastRequested = 0;

private:
    std::map<std::string, std::vector<std::uint8_t>> hosts_;
};

} // namespace vorlu::test
