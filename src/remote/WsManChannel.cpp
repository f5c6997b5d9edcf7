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

} // namespace

WsManChannel::WsManChannel(const RemoteTransport& transport, const std::string& host, std::string user,
                           std::string password, SecurityContextFactory contexts)
    : http_(HttpEndpoint{host, transport.port, transport.https, transport.verifyCertificate, transport.caFile,
                         transport.connectTimeoutMs, transport.queryTimeoutMs}),
      endpoint_(std::string(transport.https ? "https://" : "http://") + http_.endpoint().authority() + "/wsman"),
      user_(std::move(user)), password_(std::move(password)), allowClearTextBasic_(transport.allowClearTextBasic),
      signIn_(transport.signIn), contexts_(std::move(contexts))
{
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

void WsManChannel::fail(const HttpResponse& response) const
{
    const std::string port = std::to_string(http_.endpoint().port);
    switch (response.status) {
    case 401:
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

void WsManChannel::acceptSignIn(const HttpResponse& response)
{
    // An empty message signed in: a fault about the message means the login itself passed.
    // Basic is judged before the message is read, so only a refusal of the login counts.
    const bool refused = scheme_ == AuthScheme::Basic
                             ? response.status == 401 || response.status == 404 || response.status == 413
                             : response.status != 200 && !(response.status == 500 && !response.body.empty());
    if (refused)
        fail(response);
    signedInOn_ = http_.openings();
}

void WsManChannel::negotiate(const QDeadlineTimer& deadline)
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
    std::string token = session_->step("");
    int opening = -1;
    for (int leg = 0; leg < MaxHandshakeLegs; ++leg) {
        HttpRequest r = request("", wsman::SoapContentType);
        r.headers.emplace_back("Authorization", scheme + " " + base64(token));
        const HttpResponse answer = http_.post(r, deadline);
        if (opening != -1 && opening != http_.openings())
            throw WmiError("the node closed the connection during the login");
        opening = http_.openings();
        const auto nodeToken = challengeToken(answer, scheme);
        if (answer.status == 401) {
            if (!nodeToken || nodeToken->empty() || session_->established())
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
        acceptSignIn(answer);
        return;
    }
    throw WmiError("the Negotiate login did not complete in " + std::to_string(MaxHandshakeLegs) + " exchanges");
}

void WsManChannel::signIn(const QDeadlineTimer& deadline)
{
    signedInOn_ = -1;
    if (!schemeKnown_) {
        const HttpResponse probe = http_.post(request("", wsman::SoapContentType), deadline);
        if (probe.status == 401) {
            scheme_ = chooseSchemeFor(signIn_, offeredSchemes(probe), http_.endpoint().https, allowClearTextBasic_);
        } else if (probe.status == 200) {
            scheme_ = AuthScheme::None;
        } else {
            fail(probe);
        }
        schemeKnown_ = true;
        if (scheme_ == AuthScheme::None) {
            signedInOn_ = http_.openings();
            return;
        }
    }
    if (sessionScheme())
        negotiate(deadline);
    else if (scheme_ == AuthScheme::Basic)
        acceptSignIn(http_.post(request("", wsman::SoapContentType), deadline));
    else
        signedInOn_ = http_.openings();
}

std::string WsManChannel::exchange(const std::string& soap, const QDeadlineTimer& deadline)
{
    if (!usable())
        signIn(deadline);
    // Over plain HTTP the Negotiate session seals the body; over HTTPS the transport protects it.
    const bool seal = sessionScheme() && !http_.endpoint().https;
    const HttpResponse answer = http_.post(seal ? request(buildSealedBody(*session_, soap), SealedBodyContentType)
                                                : request(soap, wsman::SoapContentType),
                                           deadline);
    if (answer.status != 200 && !(answer.status == 500 && !answer.body.empty()))
        fail(answer);
    const std::string contentType = answer.header("Content-Type").value_or("");
    if (isSealedBody(contentType)) {
        if (!session_)
            throw WmiError("the node sent an encrypted answer without a Negotiate session");
        return readSealedBody(*session_, answer.body, contentType);
    }
    if (seal)
        throw WmiError("the node's answer to an encrypted message was not encrypted, and was refused");
    return answer.body;
}

} // namespace vorlu
