#pragma once
#include "platform/RemoteTransport.h"

#include <ostream>

namespace vorlu {

// Failed comparisons show the transport in words instead of bytes.
inline void PrintTo(const RemoteTransport& t, std::ostream* os)
{
    *os << (t.https ? "https" : "http") << " port " << t.port << " verify " << t.verifyCertificate << " basic "
        << t.allowClearTextBasic << " ca \"" << t.caFile << "\" connect " << t.connectTimeoutMs << " ms query "
        << t.queryTimeoutMs << " ms, " << t.nodesAtOnce << " nodes at once";
}

} // namespace vorlu
