#pragma once
// A WS-Management endpoint on loopback that answers like a Windows node, for
// tests: runs wsman_server.py with a node description, a users file and, for
// HTTPS, a certificate made for the occasion, and stops it when destroyed.
#include <memory>
#include <string>

namespace vorlu {

// How often what occurs in text (a server's log).
std::size_t occurrences(const std::string& text, const std::string& what);

class WsManTestServer {
public:
    struct Options {
        // The node description (classes, itemsPerReply, faults, behaviour).
        std::string nodeJson;
        // "ntlm", "basic", "ntlm,basic", "kerberos" or "kerberos-only".
        std::string auth = "ntlm";
        bool https = false;
        bool allowUnencrypted = false;
        // The service keys for "kerberos" (a keytab of HTTP/<node>).
        std::string keytab = {};
        // Over HTTPS: "none", "relaxed" or "strict" (CbtHardeningLevel).
        std::string channelBinding = "none";
    };

    explicit WsManTestServer(Options);
    ~WsManTestServer();
    WsManTestServer(const WsManTestServer&) = delete;
    WsManTestServer& operator=(const WsManTestServer&) = delete;

    bool started() const;
    // Why it did not start, naming the package to install where one is missing.
    std::string error() const;
    int port() const;
    // PEM of the test certificate authority (HTTPS).
    std::string caFile() const;
    // What the server wrote to stderr so far: one line per authentication,
    // request and enumeration.
    std::string requestLog() const;
    // The round trips its log shows: each connection's TCP handshake (and
    // TLS 1.3's over HTTPS), and each request.
    std::size_t roundTrips() const;

    static constexpr const char* User = "Administrator";
    static constexpr const char* Domain = "SRV-ARCHIVE";
    static constexpr const char* Password = "Pa55-w0rd!";

private:
    bool https_;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vorlu
