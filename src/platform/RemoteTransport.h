#pragma once
#include <string>

namespace vorlu {

inline constexpr int DefaultHttpPort = 5985;
inline constexpr int DefaultHttpsPort = 5986;
// How many nodes Diagnose All reaches at the same time.
inline constexpr int DefaultNodesAtOnce = 64;
inline constexpr int MinNodesAtOnce = 1;
inline constexpr int MaxNodesAtOnce = 256;

// How the program reaches the management service of a remote node; one
// setting for the whole program.
struct RemoteTransport {
    bool https = false;
    int port = DefaultHttpPort;
    bool verifyCertificate = true;
    // Basic sends the password as it is; over plain HTTP only when the user said so.
    bool allowClearTextBasic = false;
    // PEM file of further certificate authorities to trust; empty: the system's own.
    std::string caFile;
    int connectTimeoutMs = 5000;
    int queryTimeoutMs = 30000;
    int nodesAtOnce = DefaultNodesAtOnce;

    bool operator==(const RemoteTransport&) const = default;
};

} // namespace vorlu
