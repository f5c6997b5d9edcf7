#include "inventory/WmiConnection.h"

namespace vorlu {

void SelectNodeCredentials(WmiConnection& connection, const NodeRecord& node, const std::string& adminUser,
                           const std::string& adminPassword)
{
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
    session.locator = service.createLocator();
    if (!session.locator)
        throw WmiError("the management service gave no locator");
    session.services =
        session.locator->connectServer(connection.server, nameSpace, connection.user, connection.password);
    if (!session.services)
        throw WmiError("the management service gave no connection");
    return session;
}

std::vector<WmiRow> QueryNode(ManagementService& service, const WmiConnection& connection,
                              const std::string& nameSpace, const std::string& query)
{
    ManagementSession session = OpenConnection(service, connection, nameSpace);
    return session.services->execQuery(query);
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
