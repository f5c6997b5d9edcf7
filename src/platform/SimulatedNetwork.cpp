#include "platform/SimulatedNetwork.h"

#include "platform/CallCancel.h"
#include "platform/TextCase.h"
#include "platform/WmiQuery.h"

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

namespace vorlu {

namespace {

// A slow node answers late; a cancelled call ends within a slice, as a closed connection would.
void wait(const SimulatedNetwork::Computer& computer)
{
    using namespace std::chrono;
    const auto until = steady_clock::now() + milliseconds(std::max(computer.latencyMs, 0));
    for (;;) {
        throwIfCancelled();
        const auto left = until - steady_clock::now();
        if (left <= steady_clock::duration::zero())
            return;
        std::this_thread::sleep_for(std::min<steady_clock::duration>(left, milliseconds(20)));
    }
}

std::vector<std::uint8_t> addressBytes(const std::string& dotted)
{
    // The loader accepted only canonical dotted quads, so this cannot fail.
    std::vector<std::uint8_t> bytes;
    std::istringstream in(dotted);
    std::string part;
    while (std::getline(in, part, '.'))
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(part)));
    return bytes;
}

} // namespace

EnumerationAnswer SimulatedNetwork::enumerate() const
{
    if (enumerationFail)
        throw EnumerationFailure{};
    EnumerationAnswer answer;
    answer.code = enumerationError;
    if (answer.code != 0)
        return answer;
    for (const Computer& c : computers)
        if (c.listed)
            answer.names.push_back(c.name);
    return answer;
}

std::optional<std::vector<std::uint8_t>> SimulatedNetwork::resolve(const std::string& name) const
{
    for (const Computer& c : computers) {
        if (!equalsIgnoringCase(c.name, name))
            continue;
        wait(c);
        if (!c.address)
            return std::nullopt;
        return addressBytes(*c.address);
    }
    return std::nullopt;
}

const SimulatedNetwork::Computer* SimulatedNetwork::route(const std::string& server) const
{
    const std::string& target = server.empty() ? localAddress : server;
    for (const Computer& c : computers)
        if (c.address && *c.address == target)
            return &c;
    return nullptr;
}

const SimulatedNetwork::Computer& SimulatedNetwork::connect(const std::string& server, const std::string& nameSpace,
                                                            const std::string& user,
                                                            const std::string& password) const
{
    const Computer* computer = route(server);
    if (!computer)
        throw WmiError("The RPC server is unavailable.");
    wait(*computer);
    const Management& m = computer->management;
    if (!m.reachable)
        throw WmiError("The RPC server is unavailable.");
    bool knownNamespace = false;
    for (const std::string& ns : m.namespaces)
        knownNamespace = knownNamespace || equalsIgnoringCase(ns, nameSpace);
    if (!knownNamespace)
        throw WmiError("Invalid namespace");
    for (const Account& a : m.accounts)
        if (a.user == user && a.password == password)
            return *computer;
    throw WmiError("Access is denied.");
}

std::vector<WmiRow> SimulatedNetwork::query(const Computer& computer, const std::string& text) const
{
    wait(computer);
    if (computer.management.queryError)
        throw WmiError("Generic failure");
    return answerWmiQuery(text, [&computer](WmiClass wmiClass, const WmiSelect&) {
        if (wmiClass == WmiClass::ComputerSystem)
            return std::vector<WmiRow>{computer.management.computerSystem};
        return computer.management.cdromDrives;
    });
}

} // namespace vorlu
