#include "platform/ManagementRouter.h"

namespace vorlu {

namespace {

class RoutingLocator : public WmiLocator {
public:
    RoutingLocator(ThisComputer computer, std::unique_ptr<WmiLocator> thisComputer, std::unique_ptr<WmiLocator> remote)
        : computer_(std::move(computer)), thisComputer_(std::move(thisComputer)), remote_(std::move(remote))
    {
    }

    std::unique_ptr<WmiServices> connectServer(const std::string& server, const std::string& nameSpace,
                                               const std::string& user, const std::string& password) override
    {
        WmiLocator& target = computer_.isAddressedBy(server) ? *thisComputer_ : *remote_;
        return target.connectServer(server, nameSpace, user, password);
    }

private:
    ThisComputer computer_;
    std::unique_ptr<WmiLocator> thisComputer_;
    std::unique_ptr<WmiLocator> remote_;
};

} // namespace

ManagementRouter::ManagementRouter(ThisComputer computer, std::unique_ptr<ManagementService> thisComputer,
                                   std::unique_ptr<ManagementService> remote)
    : computer_(std::move(computer)), thisComputer_(std::move(thisComputer)), remote_(std::move(remote))
{
}

std::unique_ptr<WmiLocator> ManagementRouter::createLocator()
{
    // Copies, not references: a locator may be used on a worker thread after the router is gone.
    return std::make_unique<RoutingLocator>(computer_, thisComputer_->createLocator(), remote_->createLocator());
}

} // namespace vorlu
