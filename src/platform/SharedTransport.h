#pragma once
#include "platform/RemoteTransport.h"
#include "platform/SharedValue.h"

namespace vorlu {

// The transport of the settings as connections on worker threads see it.
using SharedTransport = SharedValue<RemoteTransport>;

// The administrator login as the Network Scan's directory listing sees it.
using SharedAdminLogin = SharedValue<AdminLogin>;

} // namespace vorlu
