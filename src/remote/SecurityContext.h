#pragma once
#include <string>

namespace vorlu {

// The Negotiate session of one HTTP connection: the token exchange of the
// handshake, then the sealing of message bodies with the session's keys.
class SecurityContext {
public:
    virtual ~SecurityContext() = default;
    // The scheme name sent in the Authorization header ("Negotiate").
    virtual std::string scheme() const = 0;
    // Over HTTPS, before the first step: the tls-server-end-point binding of
    // the node's certificate ("tls-server-end-point:" and its hash, RFC 5929).
    virtual void bindChannel(const std::string& applicationData) = 0;
    // Takes the node's token (empty at the start) and gives the next one to
    // send, empty when nothing more is to be sent; throws WmiError.
    virtual std::string step(const std::string& nodeToken) = 0;
    virtual bool established() const = 0;
    // The octet-stream part of a sealed body: the 4-byte little-endian
    // signature length, the signature, the sealed data; throws WmiError.
    virtual std::string seal(const std::string& plain) = 0;
    // The reverse of seal; throws WmiError on a part that does not verify.
    virtual std::string unseal(const std::string& part) = 0;
    // Why the node's 401 refused the login, in words an administrator can act on.
    virtual std::string refusal(const std::string& login) const = 0;
};

} // namespace vorlu
