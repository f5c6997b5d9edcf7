#pragma once
#include "platform/RemoteTransport.h"
#include "remote/HttpConnection.h"
#include "remote/NodeLoginFacts.h"
#include "remote/SecurityContext.h"
#include "remote/WsManAuthentication.h"

#include <functional>
#include <memory>
#include <string>

namespace vorlu {

using SecurityContextFactory =
    std::function<std::unique_ptr<SecurityContext>(const std::string& user, const std::string& password)>;

// The signed-in connection to one node's WS-Management endpoint. It signs in
// with the first message, in as few round trips as the scheme allows: Basic
// carries its header from the first request; Negotiate sends the message,
// sealed over plain HTTP, with its last token, or first completes the login
// with an empty message where the node wants that. The node's schemes are
// asked only when the settings leave a choice and this run has not asked yet.
// Texts of its failures never hold the password.
class WsManChannel {
public:
    // Without facts the channel learns for itself alone.
    WsManChannel(const RemoteTransport& transport, const std::string& host, std::string user, std::string password,
                 SecurityContextFactory contexts, std::shared_ptr<NodeLoginFacts> facts = nullptr);

    // Sends one SOAP message, signing in first when the connection is new, and
    // gives the SOAP text of the answer: a reply or a fault. A kept-alive
    // connection the node closed meanwhile is replaced once. Throws WmiError.
    std::string exchange(const std::string& soap, const QDeadlineTimer& deadline);
    // False once the connection failed: nothing more can be sent on it.
    bool usable() const { return http_.isOpen() && signedInOn_ == http_.openings(); }
    const std::string& endpoint() const { return endpoint_; }
    // Whether this channel serves the node and login given, as the transport says.
    bool serves(const RemoteTransport& transport, const std::string& host, const std::string& user,
                const std::string& password) const;
    // Ends the connection at once; the next message signs in on a new one.
    void close() { http_.close(); }

private:
    HttpRequest request(std::string body, std::string contentType) const;
    HttpRequest message(const std::string& soap) const;
    HttpResponse send(const std::string& soap, const QDeadlineTimer& deadline);
    HttpResponse signIn(const std::string& soap, const QDeadlineTimer& deadline);
    AuthScheme schemeToUse(const QDeadlineTimer& deadline);
    HttpResponse negotiate(const std::string& soap, const QDeadlineTimer& deadline);
    std::string answerOf(const HttpResponse& answer);
    [[noreturn]] void fail(const HttpResponse& response);
    // Signed in through a session of its own (Negotiate or Kerberos), which seals the bodies over plain HTTP.
    bool sessionScheme() const { return scheme_ == AuthScheme::Negotiate || scheme_ == AuthScheme::Kerberos; }

    RemoteTransport transport_;
    std::string host_;
    HttpConnection http_;
    std::string endpoint_;
    std::string user_;
    std::string password_;
    SecurityContextFactory contexts_;
    std::shared_ptr<NodeLoginFacts> facts_;
    AuthScheme scheme_ = AuthScheme::None;
    std::unique_ptr<SecurityContext> session_;
    int signedInOn_ = -1; // the connection signed in on, by its openings()
};

} // namespace vorlu
