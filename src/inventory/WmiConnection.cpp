#include "inventory/WmiConnection.h"

#include "platform/Log.h"

namespace vorlu {

namespace {

std::string nodeNamed(const WmiConnection& connection)
{
    const std::string address = connection.server.empty() ? "this computer" : connection.server;
    return connection.node.empty() ? address : connection.node + " (" + address + ")";
}

} // namespace

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

ManagementSession OpenConnection(ManagementService& service, const WmiConnection& connection,
                                 const std::string& nameSpace)
{
    ManagementSession session;
    try {
        // The empty server is this computer for the local commands alone: a node whose address is unknown
        // must never be answered with this computer's drives.
        if (!connection.node.empty() && connection.server.empty())
            throw WmiError(NoAddressText);
        session.locator = service.createLocator();
        if (!session.locator)
            throw WmiError("the management service gave no locator");
        session.services =
            session.locator->connectServer(connection.server, nameSpace, connection.user, connection.password);
        if (!session.services)
            throw WmiError("the management service gave no connection");
    } catch (const std::exception& e) {
        qCWarning(lcInventory, "connecting to %s as %s in %s failed: %s", nodeNamed(connection).c_str(),
                  connection.user.empty() ? "the current user" : connection.user.c_str(), nameSpace.c_str(),
                  displayReason(e.what(), connection).c_str());
        throw;
    }
    return session;
}

std::vector<WmiRow> QueryNode(ManagementService& service, const WmiConnection& connection,
                              const std::string& nameSpace, const std::string& query)
{
    ManagementSession session = OpenConnection(service, connection, nameSpace);
    return RunQuery(session, connection, query);
}

std::vector<WmiRow> RunQuery(ManagementSession& session, const WmiConnection& connection, const std::string& query)
{
    try {
        return session.services->execQuery(query);
    } catch (const std::exception& e) {
        qCWarning(lcInventory, "the query \"%s\" on %s failed: %s", query.c_str(), nodeNamed(connection).c_str(),
                  displayReason(e.what(), connection).c_str());
        throw;
    }
}

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
