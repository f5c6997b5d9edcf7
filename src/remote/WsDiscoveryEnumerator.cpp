#include "remote/WsDiscoveryEnumerator.h"

#include "platform/Log.h"
#include "remote/WsDiscoverySession.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace vorlu {

namespace {

std::optional<QHostAddress> ipv4Of(const QNetworkInterface& interface)
{
    for (const QNetworkAddressEntry& entry : interface.addressEntries())
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            return entry.ip();
    return std::nullopt;
}

std::vector<ProbeInterface> probeInterfaces(const QStringList& names)
{
    std::vector<ProbeInterface> found;
    if (!names.isEmpty()) {
        for (const QString& name : names) {
            const QNetworkInterface interface = QNetworkInterface::interfaceFromName(name);
            const std::optional<QHostAddress> address = interface.isValid() ? ipv4Of(interface) : std::nullopt;
            if (address && interface.flags().testFlag(QNetworkInterface::IsUp))
                found.push_back({interface, *address});
            else
                qCWarning(lcNetwork, "WS-Discovery: interface %s is missing, down or has no IPv4 address",
                          qPrintable(name));
        }
        return found;
    }
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            !flags.testFlag(QNetworkInterface::CanMulticast) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        if (const std::optional<QHostAddress> address = ipv4Of(interface))
            found.push_back({interface, *address});
    }
    return found;
}

} // namespace

WsDiscoveryEnumerator::WsDiscoveryEnumerator(WsDiscoveryOptions options, std::shared_ptr<AnnouncedAddresses> announced)
    : options_(std::move(options)), announced_(std::move(announced))
{
}

EnumerationAnswer WsDiscoveryEnumerator::enumerateServers(std::uint32_t)
{
    if (!QCoreApplication::instance()) {
        qCWarning(lcNetwork, "WS-Discovery needs the program's event loop");
        throw EnumerationFailure{};
    }
    std::vector<ProbeInterface> interfaces = probeInterfaces(options_.interfaces);
    if (interfaces.empty()) {
        qCWarning(lcNetwork, "WS-Discovery: no network interface to probe on");
        return EnumerationAnswer{NoNetworkCode, {}};
    }
    WsDiscoverySession session(options_, std::move(interfaces));
    session.start();
    // The window keeps painting while the answers come in; a second command
    // started meanwhile finds the command gate closed.
    QEventLoop loop;
    while (!session.done())
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    EnumerationAnswer answer = session.answer();
    if (announced_)
        session.recordAddresses(*announced_);
    return answer;
}

} // namespace vorlu
