#include "platform/NodeConnection.h"

namespace vorlu {

RemoteTransport withNodeConnection(RemoteTransport transport, const NodeConnection& own)
{
    transport.https = own.https;
    transport.port = own.port;
    transport.signIn = own.signIn;
    transport.kerberosName = own.kerberosName;
    return transport;
}

} // namespace vorlu
