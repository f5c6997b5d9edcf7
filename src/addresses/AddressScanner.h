#pragma once
#include "addresses/AddressRange.h"
#include "addresses/ReverseNames.h"
#include "platform/NodeConnection.h"
#include "remote/NetBiosNodeStatus.h"
#include "remote/PortProbe.h"
#include "remote/WsManIdentify.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

enum class NameSource { ReverseDns, NetBios, Address };

// A computer whose management port answered.
struct FoundComputer {
    std::uint32_t address = 0;
    std::string addressText;
    std::string name;
    NameSource source = NameSource::Address;
    std::vector<std::uint16_t> openPorts; // of 5985, 5986
    std::optional<IdentifyAnswer> identity;
    std::string identifyProblem; // why Identify was not answered

    bool answers(std::uint16_t port) const;
};

struct AddressScanOptions {
    PortProbeOptions probe;
    int netBiosTimeoutMs = 1000;
    int identifyTimeoutMs = 2000;
    // Computers named and identified at once.
    int workers = 16;
};

// The network services a scan asks, swapped for doubles in tests.
struct AddressScanServices {
    ReverseNames& reverseNames;
    std::function<std::optional<std::string>(std::uint32_t address, int timeoutMs)> netBiosName =
        [](std::uint32_t address, int timeoutMs) { return queryNetBiosName(address, timeoutMs); };
    std::function<IdentifyAnswer(const std::string& host, int port, bool https, int timeoutMs)> identify =
        identifyNode;
};

// What the user's side of a scan sees of it while it runs.
struct ScanControl {
    std::atomic<bool> cancel{false};
    std::atomic<std::uint32_t> probed{0}; // addresses whose connection attempts have ended
};

// Finds the computers of a range that answer on a management port, asks each
// to identify itself and names it: reverse DNS first, else its NetBIOS name,
// else its address. The result is in address order. found() runs for each
// computer as it is named, on a worker thread. A scan cancelled midway
// returns what it found so far.
std::vector<FoundComputer> scanAddresses(const AddressRange& range, AddressScanServices& services,
                                         const AddressScanOptions& options = {},
                                         ScanControl* control = nullptr,
                                         const std::function<void(const FoundComputer&)>& found = {});

// The connection a computer found needs where the program's transport would
// miss it: HTTPS on 5986 when only that answered, HTTP on 5985 when only
// that did; nothing when the program's port answered.
std::optional<NodeConnection> connectionFromScan(const FoundComputer& computer, const RemoteTransport& program);

// One line for the headless scan and the log:
// "10.0.0.7 PC-7 (reverse DNS) 5985 Microsoft Corporation OS: 10.0 ...".
std::string describeFound(const FoundComputer& computer);

} // namespace vorlu
