#include "addresses/AddressScanner.h"

#include "nodes/NodeFolders.h"
#include "platform/Management.h"

#include <algorithm>
#include <mutex>
#include <thread>

namespace vorlu {

bool FoundComputer::answers(std::uint16_t port) const
{
    return std::find(openPorts.begin(), openPorts.end(), port) != openPorts.end();
}

namespace {

void identify(FoundComputer& c, AddressScanServices& services, int timeoutMs)
{
    // HTTP first: it is what a node has after its administrator enabled remote management.
    for (const std::uint16_t port : c.openPorts) {
        const bool https = port == DefaultHttpsPort;
        try {
            c.identity = services.identify(c.addressText, port, https, timeoutMs);
            c.identifyProblem.clear();
            return;
        } catch (const WmiError& e) {
            c.identifyProblem = "port " + std::to_string(port) + ": " + e.what();
        }
    }
}

void name(FoundComputer& c, AddressScanServices& services, int netBiosTimeoutMs)
{
    if (const auto full = services.reverseNames.nameOf(c.address)) {
        const std::string n = computerNameOf(*full);
        // A name that could not be a node's folder is passed over, as a missing one is.
        if (!folderNameProblem(n)) {
            c.name = n;
            c.source = NameSource::ReverseDns;
            return;
        }
    }
    if (const auto netBios = services.netBiosName(c.address, netBiosTimeoutMs); netBios && !folderNameProblem(*netBios)) {
        c.name = *netBios;
        c.source = NameSource::NetBios;
        return;
    }
    c.name = c.addressText;
    c.source = NameSource::Address;
}

const char* sourceText(NameSource s)
{
    switch (s) {
    case NameSource::ReverseDns:
        return "reverse DNS";
    case NameSource::NetBios:
        return "NetBIOS";
    case NameSource::Address:
        break;
    }
    return "no name found";
}

} // namespace

std::vector<FoundComputer> scanAddresses(const AddressRange& range, AddressScanServices& services,
                                         const AddressScanOptions& options, ScanControl* control,
                                         const std::function<void(const FoundComputer&)>& found)
{
    std::vector<FoundComputer> computers;
    probePorts(
        range.first, range.count, options.probe,
        [&](std::uint32_t address, const std::vector<std::uint16_t>& open) {
            FoundComputer c;
            c.address = address;
            c.addressText = formatIPv4(address);
            c.openPorts = open;
            computers.push_back(std::move(c));
        },
        control ? &control->cancel : nullptr, control ? &control->probed : nullptr);

    std::atomic<std::size_t> next{0};
    std::mutex reporting;
    auto work = [&] {
        for (std::size_t k = next++; k < computers.size(); k = next++) {
            if (control && control->cancel)
                return;
            FoundComputer& c = computers[k];
            identify(c, services, options.identifyTimeoutMs);
            name(c, services, options.netBiosTimeoutMs);
            if (found) {
                const std::lock_guard lock(reporting);
                found(c);
            }
        }
    };
    const std::size_t threads =
        std::min<std::size_t>(computers.size(), static_cast<std::size_t>(std::max(1, options.workers)));
    std::vector<std::thread> pool;
    pool.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (std::thread& t : pool)
        t.join();

    // A cancelled scan keeps only the computers it finished.
    std::erase_if(computers, [](const FoundComputer& c) { return c.name.empty(); });
    std::sort(computers.begin(), computers.end(),
              [](const FoundComputer& a, const FoundComputer& b) { return a.address < b.address; });
    return computers;
}

std::optional<NodeConnection> connectionFromScan(const FoundComputer& computer, const RemoteTransport& program)
{
    if (computer.answers(static_cast<std::uint16_t>(program.port)))
        return std::nullopt;
    if (computer.answers(DefaultHttpsPort))
        return NodeConnection{true, DefaultHttpsPort, SignInMethod::Automatic, {}};
    if (computer.answers(DefaultHttpPort))
        return NodeConnection{false, DefaultHttpPort, SignInMethod::Automatic, {}};
    return std::nullopt;
}

std::string describeFound(const FoundComputer& c)
{
    std::string line = c.addressText + " " + c.name + " (" + sourceText(c.source) + ") ports";
    for (std::size_t k = 0; k < c.openPorts.size(); ++k)
        line += (k == 0 ? " " : ",") + std::to_string(c.openPorts[k]);
    if (c.identity)
        line += " " + c.identity->productVendor + " " + c.identity->productVersion;
    else
        line += " no WS-Management answer (" + c.identifyProblem + ")";
    return line;
}

} // namespace vorlu
