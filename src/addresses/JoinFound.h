#pragma once
#include "addresses/AddressScanner.h"
#include "nodes/NodeConnections.h"
#include "nodes/NodeTable.h"

#include <string>
#include <vector>

namespace vorlu {

struct JoinResult {
    std::vector<std::size_t> added; // record numbers of the new nodes
    std::vector<std::string> notes; // one line per computer left out, and why
};

// Appends the computers found as a Re-Scan appends new names: compared with
// the table's names exactly; a computer whose address or name is already in
// the table is left out. A new node whose service answered on another port
// than the program's gets its own connection for that port.
JoinResult joinFoundComputers(NodeTable& table, const std::vector<FoundComputer>& found,
                              NodeConnections& connections, const RemoteTransport& program);

// A node the user adds by hand. Empty name: the address is the name; empty
// address: the name's own, from resolve (which gives "" for an unknown
// name). The record to append, or nothing with the reason in refusal.
std::optional<NodeRecord> nodeByHand(const NodeTable& table, const std::string& name, const std::string& address,
                                     const std::function<std::string(const std::string&)>& resolve,
                                     std::string& refusal);

} // namespace vorlu
