#include "remote/WsManChannel.h"

#include "platform/Management.h"
#include "remote/ChannelBinding.h"
#include "remote/SealedBody.h"
#include "remote/SignInChoice.h"
#include "remote/WsManEnvelope.h"

#include <QByteArray>

namespace vorlu {

namespace {

constexpr int MaxHandshakeLegs = 4;

std::string base64(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toBase64().toStdString();
}

std::string fromBase64(const std::string& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(text),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        throw WmiError("the node's Negotiate token is not valid base64");
    return decoded.decoded.toStdString();
}

// An answer the node gives to a message, as opposed to one that turns the message away.
bool answers(const HttpResponse& response)
{
    return response.status == 200 || (response.status == 500 && !response.body.empty());
}

} // namespace

WsManChannel::WsManChannel(const RemoteTransport& transport, const std::string& host, std::string user,
                           std::string password, SecurityContextFactory contexts,
                           std::shared_ptr<NodeLoginFacts> facts)
    : transport_(transport), host_(host),
      http_(HttpEndpoint{host, transport.port, transport.https, transport.verifyCertificate, transport.caFile,
                         transport.connectTimeoutMs, transport.queryTimeoutMs}),
      endpoint_(std::string(transport.https ? "https://" : "http://") + http_.endpoint().authority() + "/wsman"),
      user_(std::move(user)), password_(std::move(password)), contexts_(std::move(contexts)),
      facts_(facts ? std::move(facts) : std::make_shared<NodeLoginFacts>())
{
}

bool WsManChannel::serves(const RemoteTransport& transport, const std::string& host, const std::string& user,
                          const std::string& password) const
{
    return transport == transport_ && host == host_ && user == user_ && password == password_;
}

HttpRequest WsManChannel::request(std::string body, std::string contentType) const
{
    HttpRequest r;
    r.body = std::move(body);
    r.contentType = std::move(contentType);
    if (scheme_ == AuthScheme::Basic)
        r.headers.emplace_back("Authorization", "Basic " + base64(user_ + ":" + password_));
    return r;
}

HttpRequest WsManChannel::message(const std::string& soap) const
{
    // Over plain HTTP the Negotiate session seals the body; over HTTPS the transport protects it.
    if (sessionScheme() && !http_.endpoint().https)
        return request(buildSealedBody(*session_, soap), SealedBodyContentType);
    return request(soap, wsman::SoapContentType);
}

void WsManChannel::fail(const HttpResponse& response)
{
    const std::string port = std::to_string(http_.endpoint().port);
    switch (response.status) {
    case 401:
        // What the node offers may have changed: the next connection asks again.
        facts_->forgetOffer(endpoint_);
        // The node's 401 says nothing of why; over HTTPS its binding check is one more suspect.
        if (session_ && sessionScheme())
            throw WmiError(session_->refusal(user_)
                           + (http_.endpoint().https
                                  ? "; the sign-in was bound to the certificate the node showed, so a node that "
                                    "demands channel binding refuses it when something between here and the node "
                                    "presents another (a TLS-inspecting proxy)"
                                  : ""));
        throw WmiError(passwordRefusal(user_));
    case 404: throw WmiError("there is no WS-Management service at /wsman on port " + port + " (HTTP 404)");
    case 413: throw WmiError("the request is larger than the node accepts (HTTP 413, MaxEnvelopeSizekb)");
    case 500:
        if (response.body.empty())
            throw WmiError("the node refused the message (HTTP 500 without a body); it answers so to a message "
                           "that is not encrypted when AllowUnencrypted is off");
        break;
    default: break;
    }
    throw WmiError("the node answered HTTP " + std::to_string(response.status) +
                   (response.reason.empty() ? "" : " " + response.reason));
}

AuthScheme WsManChannel::schemeToUse(const QDeadlineTimer& deadline)
{
    const bool https = http_.endpoint().https;
    auto offer = facts_->offer(endpoint_);
    // Over plain HTTP without clear-text Basic only Negotiate may sign in: there is nothing to ask.
    if (!offer && !https && !transport_.allowClearTextBasic && transport_.signIn != SignInMethod::Basic)
        return AuthScheme::Negotiate;
    if (!offer) {
        const HttpResponse probe = http_.post(request("", wsman::SoapContentType), deadline);
        if (probe.status == 401)
            offer = NodeLoginFacts::Offer{false, offeredSchemes(probe)};
        else if (probe.status == 200)
            offer = NodeLoginFacts::Offer{true, {}};
        else
            fail(probe);
        facts_->rememberOffer(endpoint_, *offer);
    }
    return offer->open ? AuthScheme::None
                       : chooseSchemeFor(transport_.signIn, offer->schemes, https, transport_.allowClearTextBasic);
}

HttpResponse WsManChannel::negotiate(const std::string& soap, const QDeadlineTimer& deadline)
{
    session_ = contexts_(user_, password_);
    if (!session_)
        throw WmiError("no Negotiate session could be made on this computer");
    // A node with Negotiate turned off takes the same Kerberos tokens under the name Kerberos.
    const std::string scheme = scheme_ == AuthScheme::Kerberos ? std::string("Kerberos") : session_->scheme();
    if (http_.endpoint().https) {
        const std::string binding = tlsServerEndPoint(http_.peerCertificate(deadline));
        if (binding.empty())
            throw WmiError("the node's TLS certificate cannot be read for the channel binding");
        session_->bindChannel(binding);
    }
    const bool ride = !soap.empty() && !facts_->wantsLoginFirst(endpoint_);
    std::string token = session_->step("");
    int opening = -1;
    for (int leg = 0; leg < MaxHandshakeLegs; ++leg) {
        // The message rides in the leg that completes the login once the session can seal it.
        const bool riding = ride && session_->established();
        HttpRequest r = riding ? message(soap) : request("", wsman::SoapContentType);
        r.headers.emplace_back("Authorization", scheme + " " + base64(token));
        HttpResponse answer;
        try {
            answer = http_.post(r, deadline);
        } catch (const StaleConnection&) {
            throw WmiError("the node closed the connection during the login");
        }
        if (opening != -1 && opening != http_.openings())
            throw WmiError("the node closed the connection during the login");
        opening = http_.openings();
        const auto nodeToken = challengeToken(answer, scheme);
        if (answer.status == 401) {
            if (!nodeToken || nodeToken->empty()) {
                // Not even a challenge: the node offers something else, which decides for the rest of the
                // run (chooseScheme names it when nothing fits).
                if (leg == 0 && !riding) {
                    const NodeLoginFacts::Offer offer{false, offeredSchemes(answer)};
                    const AuthScheme offered = chooseSchemeFor(transport_.signIn, offer.schemes,
                                                               http_.endpoint().https, transport_.allowClearTextBasic);
                    if (offered != scheme_) {
                        facts_->rememberOffer(endpoint_, offer);
                        scheme_ = offered;
                        return signIn(soap, deadline);
                    }
                }
                fail(answer);
            }
            if (session_->established())
                fail(answer);
            token = session_->step(fromBase64(*nodeToken));
            if (token.empty())
                fail(answer);
            continue;
        }
        if (nodeToken && !nodeToken->empty() && !session_->established())
            session_->step(fromBase64(*nodeToken));
        if (!session_->established())
            throw WmiError("the node ended the Negotiate login before the session was complete");
        if (riding && !answers(answer) && answer.status != 404 && answer.status != 413) {
            // The node turned the message away with the login: from now on it gets an empty one first.
            facts_->rememberLoginFirst(endpoint_);
            http_.close();
            return negotiate(soap, deadline);
        }
        signedInOn_ = http_.openings();
        if (riding)
            return answer;
        // An empty message signed in: a fault about the message means the login itself passed.
        if (!answers(answer)) {
            signedInOn_ = -1;
            fail(answer);
        }
        return soap.empty() ? answer : http_.post(message(soap), deadline);
    }
    throw WmiError("the Negotiate login did not complete in " + std::to_string(MaxHandshakeLegs) + " exchanges");
}

HttpResponse WsManChannel::send(const std::string& soap, const QDeadlineTimer& deadline)
{
    if (usable())
        return http_.post(message(soap), deadline);
    scheme_ = schemeToUse(deadline);
    return signIn(soap, deadline);
}

HttpResponse WsManChannel::signIn(const std::string& soap, const QDeadlineTimer& deadline)
{
    signedInOn_ = -1;
    session_.reset();
    if (sessionScheme())
        return negotiate(soap, deadline);
    // Basic carries its header on every request, the first one included: that request is the login.
    HttpResponse answer = http_.post(message(soap), deadline);
    if (answer.status != 401)
        signedInOn_ = http_.openings();
    return answer;
}

std::string WsManChannel::answerOf(const HttpResponse& answer)
{
    if (!answers(answer))
        fail(answer);
    const std::string contentType = answer.header("Content-Type").value_or("");
    if (isSealedBody(contentType)) {
        if (!session_)
            throw WmiError("the node sent an encrypted answer without a Negotiate session");
        return readSealedBody(*session_, answer.body, contentType);
    }
    if (sessionScheme() && !http_.endpoint().https)
        throw WmiError("the node's answer to an encrypted message was not encrypted, and was refused");
    return answer.body;
}

std::string WsManChannel::exchange(const std::string& soap, const QDeadlineTimer& deadline)
{
    try {
        return answerOf(send(soap, deadline));
    } catch (const StaleConnection&) {
        // Nodes close idle connections at a time of their own; the message never arrived, so it goes again.
        return answerOf(send(soap, deadline));
    }
}

} // namespace vorlu
