#include "remote/DomainEnumerator.h"

#include "platform/Log.h"
#include "platform/Management.h"
#include "remote/KerberosContext.h"

#include <QString>

#include <algorithm>

namespace vorlu {

namespace {

std::string folded(const std::string& name) { return QString::fromStdString(name).toCaseFolded().toStdString(); }

std::string nameOf(const DirectoryComputer& computer)
{
    if (!computer.name.empty())
        return computer.name;
    return computer.dnsHostName.substr(0, computer.dnsHostName.find('.'));
}

} // namespace

DomainEnumerator::DomainEnumerator(std::unique_ptr<ServerEnumerator> discovery, DirectorySource source,
                                   std::unique_ptr<SocketLayer> resolver, std::shared_ptr<AnnouncedAddresses> announced,
                                   std::shared_ptr<KerberosNames> names, BlockingRunner runner,
                                   DirectoryLister lister)
    : discovery_(std::move(discovery)), source_(std::move(source)), resolver_(std::move(resolver)),
      announced_(std::move(announced)), names_(std::move(names)), runner_(std::move(runner)),
      lister_(std::move(lister))
{
}

EnumerationAnswer DomainEnumerator::enumerateServers(std::uint32_t typeMask)
{
    EnumerationAnswer answer = discovery_->enumerateServers(typeMask);
    failure_.clear();
    const std::optional<DirectoryQuery> query = source_ ? source_() : std::nullopt;
    if (!query || (answer.code != 0 && answer.code != kMoreData))
        return answer;
    std::vector<std::pair<DirectoryComputer, std::optional<std::vector<std::uint8_t>>>> computers;
    const std::function<void()> work = [&] {
        for (DirectoryComputer& computer : lister_(*query)) {
            auto address = computer.dnsHostName.empty() ? std::nullopt : resolver_->resolve(computer.dnsHostName);
            computers.emplace_back(std::move(computer), std::move(address));
        }
    };
    try {
        if (runner_)
            runner_(work);
        else
            work();
    } catch (const WmiError& e) {
        failure_ = e.what();
        qCWarning(lcNetwork).noquote() << "The domain's computers could not be listed:"
                                       << QString::fromStdString(failure_);
        return answer;
    }
    std::vector<std::string> listed;
    for (const std::string& name : answer.names)
        listed.push_back(folded(name));
    for (const auto& [computer, address] : computers) {
        const std::string name = nameOf(computer);
        if (name.empty())
            continue;
        if (address && address->size() == 4) {
            const Ipv4Bytes bytes{(*address)[0], (*address)[1], (*address)[2], (*address)[3]};
            if (announced_)
                announced_->remember(name, bytes);
            if (names_)
                names_->remember(std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "."
                                     + std::to_string(bytes[2]) + "." + std::to_string(bytes[3]),
                                 computer.dnsHostName);
        }
        const std::string key = folded(name);
        if (std::find(listed.begin(), listed.end(), key) != listed.end())
            continue;
        listed.push_back(key);
        answer.names.push_back(name);
    }
    return answer;
}

std::optional<DirectoryQuery> directoryOf(const RemoteTransport& transport)
{
    DirectoryQuery query;
    query.domain = transport.domain.empty() ? ownDomain(defaultKerberosRealm(), searchDomains()) : transport.domain;
    if (query.domain.empty())
        return std::nullopt;
    query.controller = transport.domainController;
    query.timeoutMs = transport.connectTimeoutMs;
    return query;
}

} // namespace vorlu
