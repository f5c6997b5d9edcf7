#pragma once
#include "nodes/NodeTable.h"
#include "platform/NodeConnection.h"

#include <filesystem>
#include <map>
#include <string>

namespace vorlu {

// Kept beside lg.ini, never in it: peers and older copies read lg.ini's seven
// lines a record and nothing else.
inline constexpr const char* NodeConnectionsFileName = "connections.ini";

// The nodes' own connections, by node name (compared exactly, as the node
// table compares names).
using NodeConnections = std::map<std::string, NodeConnection>;

// Five lines a node: name, "http" or "https", port, sign-in ("automatic",
// "negotiate", "basic" or "kerberos") and the Kerberos name (may be empty).
std::string formatNodeConnections(const NodeConnections& connections);

// A record whose scheme, port or sign-in cannot be read is left out and named
// in problems (one line each); the others are kept.
NodeConnections parseNodeConnections(const std::string& text, std::string* problems = nullptr);

// A missing file is no connection at all. False, with the reason, when the
// file is there but cannot be read, or holds records that cannot: connections
// then holds those that can, and the file must not be saved over.
bool readNodeConnections(const std::filesystem::path& programFolder, NodeConnections& connections,
                         std::string* error = nullptr);

// Atomically and readable by the owner only, like the node file.
bool saveNodeConnections(const std::filesystem::path& programFolder, const NodeConnections& connections,
                         std::string* error = nullptr);

const char* signInWord(SignInMethod method);

// The connections by the servers connections are made to: each node's
// address (the first node of an address counts) and its name.
std::map<std::string, NodeConnection> connectionsByServer(const NodeTable& table, const NodeConnections& connections);

// The same for the node file and the connections of a program folder, for a
// run with no window; what cannot be read gives no connection.
std::map<std::string, NodeConnection> folderConnectionsByServer(const std::filesystem::path& programFolder);

} // namespace vorlu
