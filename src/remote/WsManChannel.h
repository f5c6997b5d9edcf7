#pragma once
#include "platform/RemoteTransport.h"
#include "remote/HttpConnection.h"
#include "remote/SecurityContext.h"
#include "remote/WsManAuthentication.h"

#include <functional>
#include <memory>
#include <string>

namespace vorlu {

using SecurityContextFactory =
    std::function<std::unique_ptr<SecurityContext>(const std::string& user, const std::string& password)>;

// The signed-in connection to one node's WS-Management endpoint: chooses the
// scheme from what the node's 401 offers, runs the Negotiate handshake on the
// connection (the session then seals every body over plain HTTP), or sends
// Basic where that is allowed. Texts of its failures never hold the password.
class WsManChannel {
public:
    WsManChannel(const RemoteTransport& transport, const std::string& host, std::string user, std::string password,
                 SecurityContextFactory contexts);

    // Connects and signs in; a refused login throws WmiError here.
    void signIn(const QDeadlineTimer& deadline);
    // Sends one SOAP message, signing in again when the connection is new,
    // and gives the SOAP text of the answer: a reply or a fault. Throws WmiError.
    std::string exchange(const std::string& soap, const QDeadlineTimer& deadline);
    // False once the connection failed: nothing more can be sent on it.
    bool usable() const { return http_.isOpen() && signedInOn_ == http_.openings(); }
    const std::string& endpoint() const { return endpoint_; }

private:
    HttpRequest request(std::string body, std::string contentType) const;
    void negotiate(const QDeadlineTimer& deadline);
    void acceptSignIn(const HttpResponse& response);
    [[noreturn]] void fail(const HttpResponse& response) const;
    // Signed in through a session of its own (Negotiate or Kerberos), which seals the bodies.
    bool sessionScheme() const { return scheme_ == AuthScheme::Negotiate || scheme_ == AuthScheme::Kerberos; }

    HttpConnection http_;
    std::string endpoint_;
    std::string user_;
    std::string password_;
    bool allowClearTextBasic_;
    SignInMethod signIn_;
    SecurityContextFactory contexts_;
    bool schemeKnown_ = false;
    AuthScheme scheme_ = AuthScheme::None;
    std::unique_ptr<SecurityContext> session_;
    int signedInOn_ = -1; // the connection signed in on, by its openings()
};

} // namespace vorlu
