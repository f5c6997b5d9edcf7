#include "inventory/WmiConnection.h"

#include "platform/Log.h"

namespace vorlu {

namespace {

std::string nodeNamed(const WmiConnection& connection)
{
    if (connection.node.empty())
        return connection.server.empty() ? "this computer" : connection.server;
    return connection.node + " (" + (connection.server.empty() ? "no address" : connection.server) + ")";
}

} // namespace

void logFailure(const WmiConnection& connection, const char* what, const std::string& reason)
{
    qCWarning(lcInventory, "%s as %s %s: %s", nodeNamed(connection).c_str(),
              connection.user.empty() ? "the current user" : connection.user.c_str(), what, reason.c_str());
}

void SelectNodeCredentials(WmiConnection& connection, const NodeRecord& node, const std::string& adminUser,
                           const std::string& adminPassword)
{
    connection.node = node.Name;
    connection.server = node.IP;
    if (node.Login.empty()) {
        connection.user = adminUser;
        connection.password = adminPassword;
    } else {
        connection.user = node.Login;
        connection.password = node.Password;
    }
}

void ClearConnection(WmiConnection& connection) { connection = WmiConnection{}; }

std::string displayReason(const std::string& reason, const WmiConnection& connection)
{
    std::string out;
    for (char c : reason)
        out.push_back(c == '\r' || c == '\n' ? ' ' : c);
    if (!connection.password.empty()) {
        for (std::size_t at = out.find(connection.password); at != std::string::npos;
             at = out.find(connection.password, at + 5))
            out.replace(at, connection.password.size(), "*****");
    }
    if (out.empty())
        out = "no reason given";
    return out;
}

} // namespace vorlu
