#pragma once
#include <string>

namespace vorlu {

inline constexpr int DefaultHttpPort = 5985;
inline constexpr int DefaultHttpsPort = 5986;
// How many nodes Diagnose All reaches at the same time.
inline constexpr int DefaultNodesAtOnce = 64;
inline constexpr int MinNodesAtOnce = 1;
inline constexpr int MaxNodesAtOnce = 256;

// Which sign-in the node's 401 is answered with. Automatic takes the best it
// offers (Negotiate, else Basic where allowed); the others insist on one.
enum class SignInMethod { Automatic, Negotiate, Basic, Kerberos };

// How the program reaches the management service of a remote node: the
// program's setting, or a node's own connection laid over it.
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
    // The Active Directory domain (its DNS name) whose computers the Network
    // Scan lists beside WS-Discovery's; empty: this computer's own domain.
    std::string domain;
    // A domain controller to ask (its DNS name); empty: found by DNS.
    std::string domainController;
    int nodesAtOnce = DefaultNodesAtOnce;
    // Set for one node by its own connection; the program's setting is Automatic.
    SignInMethod signIn = SignInMethod::Automatic;
    std::string kerberosName;

    bool operator==(const RemoteTransport&) const = default;
};

// The administrator login of the settings, for what is asked of the network
// as a whole rather than of one node (the domain's directory).
struct AdminLogin {
    std::string user;
    std::string password;
};

} // namespace vorlu
