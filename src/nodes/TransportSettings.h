#pragma once
#include "platform/RemoteTransport.h"

#include <string>

namespace vorlu {

class LineReader;

// The ranges the settings file and the settings dialog hold the transport to.
inline constexpr int MinPort = 1;
inline constexpr int MaxPort = 65535;
inline constexpr int MinConnectTimeoutMs = 100;
inline constexpr int MaxConnectTimeoutMs = 60'000;
inline constexpr int MinQueryTimeoutMs = 1'000;
inline constexpr int MaxQueryTimeoutMs = 600'000;

// Switches between HTTP and HTTPS; a port that held the other scheme's
// default moves to this one's, any other port stays.
void setScheme(RemoteTransport& transport, bool https);

// The lines after the ten of the settings file, in this order: "http" or
// "https", the port, the certificate check and clear-text Basic as "1" / "0",
// the CA file, the connection and the query time limits in milliseconds, the
// number of nodes reached at once.
// Each line stands alone: one that is missing ends the reading, one that
// cannot be read or is out of range keeps the value it replaces.
void readTransportLines(LineReader& reader, RemoteTransport& transport);
void appendTransportLines(std::string& out, const RemoteTransport& transport);

} // namespace vorlu
