#include "remote/WsManManagement.h"

#include "platform/CallCancel.h"
#include "remote/NtlmContext.h"
#include "remote/SignInContext.h"
#include "remote/WsManEnvelope.h"
#include "remote/WsManReply.h"

#include <algorithm>

namespace vorlu {

namespace {

// The node's operation limit is this much shorter than ours, so that its
// fault arrives before the connection is given up.
constexpr int OperationMarginMs = 2000;
constexpr int MinOperationTimeoutMs = 1000;
// Across all replies of one query.
constexpr std::size_t MaxQueryBytes = 16 * 1024 * 1024;
// Pulls that bring nothing and do not end the enumeration.
constexpr int MaxEmptyPulls = 16;

WsManAddress addressFor(const WsManChannel& channel, const std::string& nameSpace, const QDeadlineTimer& deadline)
{
    const qint64 left = deadline.remainingTime() - OperationMarginMs;
    return {channel.endpoint(), nameSpace,
            static_cast<int>(std::clamp<qint64>(left, MinOperationTimeoutMs, 60000))};
}

class Services : public WmiServices {
public:
    Services(std::shared_ptr<WsManChannel> channel, std::string nameSpace, int queryTimeoutMs)
        : channel_(std::move(channel)), nameSpace_(std::move(nameSpace)), queryTimeoutMs_(queryTimeoutMs)
    {
    }
    std::vector<WmiRow> execQuery(const std::string& query) override
    {
        try {
            return runEnumeration(*channel_, nameSpace_, query, QDeadlineTimer(queryTimeoutMs_));
        } catch (...) {
            // A failure or a fault ends the connection: the next query starts afresh.
            channel_->close();
            throw;
        }
    }

private:
    std::shared_ptr<WsManChannel> channel_;
    std::string nameSpace_;
    int queryTimeoutMs_;
};

class Locator : public WmiLocator {
public:
    Locator(RemoteTransport transport, SecurityContextFactory contexts, std::shared_ptr<const KerberosNames> names,
            NodeConnectionLookup ownConnections, std::shared_ptr<NodeLoginFacts> facts)
        : transport_(std::move(transport)), contexts_(std::move(contexts)), names_(std::move(names)),
          ownConnections_(std::move(ownConnections)), facts_(std::move(facts))
    {
    }
    std::unique_ptr<WmiServices> connectServer(const std::string& server, const std::string& nameSpace,
                                               const std::string& user, const std::string& password) override
    {
        if (server.empty())
            throw WmiError("no node given: this computer is not reached over WS-Management");
        if (!isPlainHost(server))
            throw WmiError("the node's address \"" + server + "\" is not a host name or an IP address");
        RemoteTransport transport = transport_;
        if (ownConnections_)
            if (const auto own = ownConnections_(server))
                transport = withNodeConnection(std::move(transport), *own);
        std::shared_ptr<WsManChannel> channel = last_.lock();
        if (channel && !channel->serves(transport, server, user, password)) {
            channel->close(); // another node or login: the one before is done with
            channel.reset();
        }
        if (!channel) {
            SecurityContextFactory contexts = contexts_;
            if (!contexts) {
                std::string host = transport.kerberosName;
                if (host.empty() && names_)
                    host = names_->find(server);
                contexts = [server, host](const std::string& u, const std::string& p) {
                    return makeSignInContext(u, p, server, host);
                };
            }
            channel = std::make_shared<WsManChannel>(transport, server, user, password, std::move(contexts), facts_);
            last_ = channel;
        }
        return std::make_unique<Services>(std::move(channel), nameSpace, transport.queryTimeoutMs);
    }

private:
    RemoteTransport transport_;
    SecurityContextFactory contexts_;
    std::shared_ptr<const KerberosNames> names_;
    NodeConnectionLookup ownConnections_;
    std::shared_ptr<NodeLoginFacts> facts_;
    // The channel of the services given last, while any of them lives.
    std::weak_ptr<WsManChannel> last_;
};

} // namespace

WsManManagement::WsManManagement(std::function<RemoteTransport()> transport, SecurityContextFactory contexts,
                                 std::shared_ptr<const KerberosNames> names, NodeConnectionLookup ownConnections)
    : transport_(std::move(transport)), contexts_(std::move(contexts)), names_(std::move(names)),
      ownConnections_(std::move(ownConnections))
{
}

std::unique_ptr<WmiLocator> WsManManagement::createLocator()
{
    RemoteTransport transport = transport_ ? transport_() : RemoteTransport{};
    // A limit of zero or less would let a wait last for ever.
    const RemoteTransport defaults;
    if (transport.connectTimeoutMs <= 0)
        transport.connectTimeoutMs = defaults.connectTimeoutMs;
    if (transport.queryTimeoutMs <= 0)
        transport.queryTimeoutMs = defaults.queryTimeoutMs;
    return std::make_unique<Locator>(std::move(transport), contexts_, names_, ownConnections_, facts_);
}

std::vector<WmiRow> runEnumeration(WsManChannel& channel, const std::string& nameSpace, const std::string& query,
                                   const QDeadlineTimer& deadline, std::size_t maxItems)
{
    std::vector<WmiRow> rows;
    std::size_t bytes = 0;
    auto exchange = [&](const std::string& soap) {
        throwIfCancelled(); // between the messages of a query: the node frees the enumeration below
        const std::string reply = channel.exchange(soap, deadline);
        bytes += reply.size();
        if (bytes > MaxQueryBytes)
            throw WmiError("the node's answer to one query is larger than " +
                           std::to_string(MaxQueryBytes / (1024 * 1024)) + " MB and was refused");
        EnumerationPage page = readEnumerationReply(reply, deadline);
        std::move(page.items.begin(), page.items.end(), std::back_inserter(rows));
        return page;
    };
    EnumerationPage page = exchange(enumerateEnvelope(addressFor(channel, nameSpace, deadline), query));
    std::string context = page.context;
    int emptyPulls = 0;
    try {
        auto checkCount = [&rows, maxItems] {
            if (rows.size() > maxItems)
                throw WmiError("the node's answer holds more than " + std::to_string(maxItems) +
                               " items and was refused");
        };
        checkCount();
        while (!page.endOfSequence) {
            if (context.empty())
                throw WmiError("the node's answer is malformed: it neither ends the enumeration nor gives a "
                               "context to continue it");
            const std::size_t before = rows.size();
            page = exchange(pullEnvelope(addressFor(channel, nameSpace, deadline), context));
            if (!page.context.empty())
                context = page.context;
            checkCount();
            if (rows.size() == before && !page.endOfSequence && ++emptyPulls > MaxEmptyPulls)
                throw WmiError("the node's answer is malformed: " + std::to_string(MaxEmptyPulls) +
                               " pulls in a row brought nothing");
        }
    } catch (const WmiError&) {
        // Given up: the node frees the enumeration at once rather than at its own time-out.
        if (!context.empty() && channel.usable()) {
            try {
                channel.exchange(releaseEnvelope(addressFor(channel, nameSpace, deadline), context), deadline);
            } catch (const WmiError&) {
            }
        }
        throw;
    }
    return rows;
}

} // namespace vorlu
