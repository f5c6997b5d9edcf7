#include "remote/NodeConnectionManagement.h"

namespace vorlu {

NodeConnectionManagement::NodeConnectionManagement(std::function<RemoteTransport()> transport,
                                                   NodeConnectionLookup lookup, SecurityContextFactory contexts,
                                                   std::shared_ptr<const KerberosNames> names)
    : nodes_(std::move(transport), std::move(contexts), std::move(names), std::move(lookup))
{
}

std::unique_ptr<WmiLocator> NodeConnectionManagement::createLocator() { return nodes_.createLocator(); }

} // namespace vorlu
