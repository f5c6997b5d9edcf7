#include "remote/KerberosLogin.h"

#include "platform/TextCase.h"

#include <QHostAddress>

#include <netdb.h>
#include <sys/socket.h>

namespace vorlu {

namespace {

bool namesRealm(const std::string& domain, const std::string& realm)
{
    if (realm.empty())
        return false;
    const std::string firstLabel = realm.substr(0, realm.find('.'));
    return equalsIgnoringCase(domain, realm) || equalsIgnoringCase(domain, firstLabel);
}

} // namespace

std::optional<std::string> kerberosPrincipal(const std::string& login, const std::string& defaultRealm)
{
    if (login.empty())
        return std::string();
    if (const std::size_t at = login.rfind('@'); at != std::string::npos) {
        if (at == 0 || at + 1 == login.size() || login.find('\\') != std::string::npos)
            return std::nullopt;
        return login.substr(0, at) + "@" + upperAscii(login.substr(at + 1));
    }
    const std::size_t slash = login.find('\\');
    if (slash == std::string::npos || slash == 0 || slash + 1 == login.size())
        return std::nullopt;
    const std::string domain = login.substr(0, slash);
    const std::string user = login.substr(slash + 1);
    if (domain.find('.') != std::string::npos)
        return user + "@" + upperAscii(domain);
    if (namesRealm(domain, defaultRealm))
        return user + "@" + upperAscii(defaultRealm);
    return std::nullopt;
}

std::string kerberosHostName(const std::string& node, const std::string& defaultRealm,
                             std::string (*reverseLookup)(const std::string& address))
{
    if (node.empty())
        return {};
    if (!QHostAddress(QString::fromStdString(node)).isNull())
        return reverseLookup ? lowerAscii(reverseLookup(node)) : std::string();
    if (node.find('.') != std::string::npos || defaultRealm.empty())
        return lowerAscii(node);
    return lowerAscii(node + "." + defaultRealm);
}

std::string systemReverseLookup(const std::string& address)
{
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return {};
    char name[NI_MAXHOST] = {};
    const int result = getnameinfo(found->ai_addr, found->ai_addrlen, name, sizeof name, nullptr, 0, NI_NAMEREQD);
    freeaddrinfo(found);
    return result == 0 ? std::string(name) : std::string();
}

} // namespace vorlu
