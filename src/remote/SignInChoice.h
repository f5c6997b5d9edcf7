#pragma once
#include "platform/RemoteTransport.h"
#include "remote/WsManAuthentication.h"

#include <string>
#include <vector>

namespace vorlu {

// The scheme for a node's sign-in method: Automatic chooses as chooseScheme
// does; Negotiate and Basic take that scheme or refuse, naming what the node
// offers. Throws WmiError.
AuthScheme chooseSchemeFor(SignInMethod method, const std::vector<std::string>& offered, bool https,
                           bool allowClearTextBasic);

} // namespace vorlu
