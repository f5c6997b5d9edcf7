#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vorlu {

// What a management service says of itself to an unauthenticated Identify.
struct IdentifyAnswer {
    std::string protocolVersion;
    std::string productVendor;  // e.g. "Microsoft Corporation"
    std::string productVersion; // e.g. "OS: 10.0.20348 SP: 0.0 Stack: 3.0"
};

// The Identify request; sent with the header "WSMANIDENTIFY: unauthenticated",
// a Windows node answers it without a login.
std::string identifyEnvelope();

// The answer's fields; nothing, with the reason in problem, when the text is
// not an IdentifyResponse (a fault, another document, malformed XML).
std::optional<IdentifyAnswer> readIdentifyReply(const std::string& xml, std::string* problem = nullptr);

// Sends Identify to host:port over HTTP or HTTPS within timeoutMs. The
// request carries no secret, so over HTTPS any certificate is taken: this
// only learns what answers. Throws WmiError.
IdentifyAnswer identifyNode(const std::string& host, int port, bool https, int timeoutMs);

} // namespace vorlu
