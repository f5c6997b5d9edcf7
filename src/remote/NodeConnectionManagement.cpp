#include "remote/NodeConnectionManagement.h"

#include "remote/WsManManagement.h"

namespace vorlu {

namespace {

class Locator : public WmiLocator {
public:
    Locator(RemoteTransport transport, NodeConnectionLookup lookup, SecurityContextFactory contexts,
            std::shared_ptr<const KerberosNames> names)
        : transport_(std::move(transport)), lookup_(std::move(lookup)), contexts_(std::move(contexts)),
          names_(std::move(names))
    {
    }
    std::unique_ptr<WmiServices> connectServer(const std::string& server, const std::string& nameSpace,
                                               const std::string& user, const std::string& password) override
    {
        RemoteTransport transport = transport_;
        if (lookup_)
            if (const auto own = lookup_(server))
                transport = withNodeConnection(std::move(transport), *own);
        WsManManagement node([transport] { return transport; }, contexts_, names_);
        return node.createLocator()->connectServer(server, nameSpace, user, password);
    }

private:
    RemoteTransport transport_;
    NodeConnectionLookup lookup_;
    SecurityContextFactory contexts_;
    std::shared_ptr<const KerberosNames> names_;
};

} // namespace

NodeConnectionManagement::NodeConnectionManagement(std::function<RemoteTransport()> transport,
                                                   NodeConnectionLookup lookup, SecurityContextFactory contexts,
                                                   std::shared_ptr<const KerberosNames> names)
    : transport_(std::move(transport)), lookup_(std::move(lookup)), contexts_(std::move(contexts)),
      names_(std::move(names))
{
}

std::unique_ptr<WmiLocator> NodeConnectionManagement::createLocator()
{
    return std::make_unique<Locator>(transport_ ? transport_() : RemoteTransport{}, lookup_, contexts_, names_);
}

} // namespace vorlu
