#include "remote/DomainEnumerator.h"

#include "platform/Log.h"
#include "platform/Management.h"

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
                                   SocketLayer& resolver, std::shared_ptr<AnnouncedAddresses> announced,
                                   DirectoryLister lister)
    : discovery_(std::move(discovery)), source_(std::move(source)), resolver_(resolver),
      announced_(std::move(announced)), lister_(std::move(lister))
{
}

EnumerationAnswer DomainEnumerator::enumerateServers(std::uint32_t typeMask)
{
    EnumerationAnswer answer = discovery_->enumerateServers(typeMask);
    failure_.clear();
    const std::optional<DirectoryQuery> query = source_ ? source_() : std::nullopt;
    if (!query || (answer.code != 0 && answer.code != kMoreData))
        return answer;
    std::vector<DirectoryComputer> computers;
    try {
        computers = lister_(*query);
    } catch (const WmiError& e) {
        failure_ = e.what();
        qCWarning(lcNetwork).noquote() << "The domain's computers could not be listed:"
                                       << QString::fromStdString(failure_);
        return answer;
    }
    std::vector<std::string> listed;
    for (const std::string& name : answer.names)
        listed.push_back(folded(name));
    for (const DirectoryComputer& computer : computers) {
        const std::string name = nameOf(computer);
        if (name.empty())
            continue;
        if (!computer.dnsHostName.empty() && announced_) {
            const auto address = resolver_.resolve(computer.dnsHostName);
            if (address && address->size() == 4)
                announced_->remember(name, {(*address)[0], (*address)[1], (*address)[2], (*address)[3]});
        }
        const std::string key = folded(name);
        if (std::find(listed.begin(), listed.end(), key) != listed.end())
            continue;
        listed.push_back(key);
        answer.names.push_back(name);
    }
    return answer;
}

} // namespace vorlu
