#include "nodes/NodeConnections.h"

#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "nodes/TextLines.h"
#include "nodes/TransportSettings.h"

#include <array>
#include <charconv>
#include <optional>
#include <system_error>

namespace vorlu {

namespace {

constexpr std::array<std::pair<const char*, SignInMethod>, 4> SignInWords{{
    {"automatic", SignInMethod::Automatic},
    {"negotiate", SignInMethod::Negotiate},
    {"basic", SignInMethod::Basic},
    {"kerberos", SignInMethod::Kerberos},
}};

std::optional<SignInMethod> signInOf(const std::string& word)
{
    for (const auto& [w, method] : SignInWords)
        if (word == w)
            return method;
    return std::nullopt;
}

std::optional<int> portOf(const std::string& text)
{
    int port = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size() || port < MinPort ||
        port > MaxPort)
        return std::nullopt;
    return port;
}

} // namespace

const char* signInWord(SignInMethod method)
{
    for (const auto& [w, m] : SignInWords)
        if (m == method)
            return w;
    return "automatic";
}

std::string formatNodeConnections(const NodeConnections& connections)
{
    std::string out;
    for (const auto& [name, c] : connections) {
        appendLine(out, name);
        appendLine(out, c.https ? "https" : "http");
        appendLine(out, std::to_string(c.port));
        appendLine(out, signInWord(c.signIn));
        appendLine(out, c.kerberosName);
    }
    return out;
}

NodeConnections parseNodeConnections(const std::string& text, std::string* problems)
{
    NodeConnections connections;
    LineReader reader(text);
    std::array<std::string, 5> lines;
    while (!reader.atEnd()) {
        std::size_t got = 0;
        while (got < lines.size() && reader.next(lines[got]))
            ++got;
        for (std::size_t k = got; k < lines.size(); ++k)
            lines[k].clear();
        const std::string& name = lines[0];
        const auto port = portOf(lines[2]);
        const auto signIn = signInOf(lines[3]);
        const bool schemeKnown = lines[1] == "http" || lines[1] == "https";
        if (name.empty() || !schemeKnown || !port || !signIn) {
            if (problems)
                *problems += "the connection of node \"" + name + "\" cannot be read and is left out\n";
            continue;
        }
        connections[name] = NodeConnection{lines[1] == "https", *port, *signIn, lines[4]};
    }
    return connections;
}

bool readNodeConnections(const std::filesystem::path& programFolder, NodeConnections& connections,
                         std::string* error)
{
    connections.clear();
    const auto file = programFolder / NodeConnectionsFileName;
    std::error_code ec;
    if (std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::not_found)
        return true;
    std::string text;
    if (!readWholeFile(file, text, error, MaxNodeFileBytes))
        return false;
    std::string problems;
    connections = parseNodeConnections(text, &problems);
    if (problems.empty())
        return true;
    if (error)
        *error = file.string() + ": " + problems.substr(0, problems.size() - 1);
    return false;
}

std::map<std::string, NodeConnection> connectionsByServer(const NodeTable& table, const NodeConnections& connections)
{
    std::map<std::string, NodeConnection> byServer;
    for (std::size_t n = 1; n <= table.count(); ++n) {
        const NodeRecord& r = table.at(n);
        const auto own = connections.find(r.Name);
        if (own == connections.end())
            continue;
        if (!r.IP.empty())
            byServer.emplace(r.IP, own->second);
        byServer.emplace(r.Name, own->second);
    }
    return byServer;
}

std::map<std::string, NodeConnection> folderConnectionsByServer(const std::filesystem::path& programFolder)
{
    NodeConnections connections;
    (void)readNodeConnections(programFolder, connections);
    std::string text;
    NodeTable table;
    if (!connections.empty() && readWholeFile(programFolder / NodeFileName, text, nullptr, MaxNodeFileBytes))
        parseNodeFile(text, table);
    return connectionsByServer(table, connections);
}

bool saveNodeConnections(const std::filesystem::path& programFolder, const NodeConnections& connections,
                         std::string* error)
{
    return writeFileAtomically(programFolder / NodeConnectionsFileName, formatNodeConnections(connections), error);
}

} // namespace vorlu
