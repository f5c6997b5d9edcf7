#pragma once
#include "platform/Management.h"

#include <memory>
#include <string>

namespace vorlu::test {

// A management service that refuses every connection, for the side of a
// router a test does not reach.
class UnavailableManagement : public ManagementService {
public:
    std::unique_ptr<WmiLocator> createLocator() override
    {
        class Locator : public WmiLocator {
        public:
            std::unique_ptr<WmiServices> connectServer(const std::string&, const std::string&, const std::string&,
                                                       const std::string&) override
            {
                throw WmiError("remote management is not available in this build");
            }
        };
        return std::make_unique<Locator>();
    }
};

} // namespace vorlu::test
