#include "platform/UnavailableServices.h"

namespace vorlu {

namespace {

class UnavailableLocator : public WmiLocator {
public:
    std::unique_ptr<WmiServices> connectServer(const std::string&, const std::string&, const std::string&,
                                               const std::string&) override
    {
        throw WmiError("remote management is not available in this build");
    }
};

} // namespace

EnumerationAnswer UnavailableEnumerator::enumerateServers(std::uint32_t)
{
    throw EnumerationFailure{};
}

std::unique_ptr<WmiLocator> UnavailableManagement::createLocator()
{
    return std::make_unique<UnavailableLocator>();
}

} // namespace vorlu
