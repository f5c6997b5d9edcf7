#include "addresses/JoinFound.h"

#include "nodes/NodeFolders.h"
#include "nodes/TextLines.h"

#include <unordered_map>
#include <unordered_set>

namespace vorlu {

namespace {

std::unordered_map<std::string, std::string> namesByAddress(const NodeTable& table)
{
    std::unordered_map<std::string, std::string> byAddress;
    for (std::size_t n = 1; n <= table.count(); ++n)
        if (!table.at(n).IP.empty())
            byAddress.emplace(table.at(n).IP, table.at(n).Name);
    return byAddress;
}

} // namespace

JoinResult joinFoundComputers(NodeTable& table, const std::vector<FoundComputer>& found,
                              NodeConnections& connections, const RemoteTransport& program)
{
    JoinResult result;
    auto byAddress = namesByAddress(table);
    std::unordered_set<std::string> names;
    names.reserve(table.count() + found.size());
    for (std::size_t n = 1; n <= table.count(); ++n)
        names.insert(table.at(n).Name);

    for (const FoundComputer& c : found) {
        if (const auto it = byAddress.find(c.addressText); it != byAddress.end()) {
            result.notes.push_back(c.addressText + " is already in the node list as " + it->second);
            continue;
        }
        if (!names.insert(c.name).second) {
            result.notes.push_back(c.addressText + ": a node named " + c.name + " is already in the node list");
            continue;
        }
        NodeRecord record = discoveredNode(c.name);
        record.IP = c.addressText;
        byAddress.emplace(c.addressText, c.name);
        result.added.push_back(table.append(std::move(record)));
        if (const auto own = connectionFromScan(c, program))
            connections[c.name] = *own;
    }
    return result;
}

std::optional<NodeRecord> nodeByHand(const NodeTable& table, const std::string& nameInput,
                                     const std::string& addressInput,
                                     const std::function<std::string(const std::string&)>& resolve,
                                     std::string& refusal)
{
    const std::string name = trimBlanks(nameInput);
    std::string address = trimBlanks(addressInput);
    if (name.empty() && address.empty()) {
        refusal = "Give the node's name, its address or both.";
        return std::nullopt;
    }
    if (!address.empty()) {
        std::string why;
        if (!parseAddressRange(address, why) || !parseIPv4(address)) {
            refusal = "\"" + address + "\" is not a usable IPv4 address" + (why.empty() ? "" : ": " + why) + ".";
            return std::nullopt;
        }
    }
    const std::string nodeName = name.empty() ? address : name;
    if (const auto problem = folderNameProblem(nodeName)) {
        refusal = "The name \"" + nodeName + "\" cannot be used: " + *problem + ".";
        return std::nullopt;
    }
    if (table.findName(nodeName) != 0) {
        refusal = "A node named " + nodeName + " is already in the node list.";
        return std::nullopt;
    }
    if (address.empty()) {
        address = resolve ? resolve(nodeName) : std::string();
        if (address.empty()) {
            refusal = "The name " + nodeName + " cannot be resolved to an address: give its address as well.";
            return std::nullopt;
        }
    }
    for (std::size_t n = 1; n <= table.count(); ++n)
        if (table.at(n).IP == address) {
            refusal = "The address " + address + " already belongs to the node " + table.at(n).Name + ".";
            return std::nullopt;
        }
    NodeRecord record = discoveredNode(nodeName);
    record.IP = address;
    return record;
}

} // namespace vorlu
