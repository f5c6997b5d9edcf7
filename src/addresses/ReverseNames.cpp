#include "addresses/ReverseNames.h"

#include "addresses/AddressRange.h"
#include "nodes/AtomicFile.h"
#include "nodes/TextLines.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>

namespace vorlu {

namespace {

// A hosts file of a network of 65,536 computers stays far below this.
constexpr std::size_t MaxHostsFileBytes = 16 * 1024 * 1024;

} // namespace

std::optional<std::string> SystemReverseNames::nameOf(std::uint32_t address)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    char host[NI_MAXHOST] = {};
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&sa), sizeof sa, host, sizeof host, nullptr, 0,
                      NI_NAMEREQD) != 0)
        return std::nullopt;
    return std::string(host);
}

std::unique_ptr<HostsFileNames> HostsFileNames::load(const std::filesystem::path& file, std::string& error,
                                                     std::unique_ptr<ReverseNames> fallback)
{
    std::string text;
    if (!readWholeFile(file, text, &error, MaxHostsFileBytes))
        return nullptr;
    auto names = std::make_unique<HostsFileNames>();
    names->fallback_ = std::move(fallback);
    LineReader lines(text);
    std::string line;
    for (std::size_t number = 1; lines.next(line); ++number) {
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream fields(line);
        std::string addressText, name;
        if (!(fields >> addressText))
            continue;
        const auto address = parseIPv4(addressText);
        if (!address || !(fields >> name)) {
            // IPv6 lines of a copied /etc/hosts are no concern of an IPv4 scan.
            if (addressText.find(':') != std::string::npos)
                continue;
            error = file.string() + ", line " + std::to_string(number) + ": expected an IPv4 address and a name";
            return nullptr;
        }
        names->names_.emplace(*address, name); // the first name given for an address counts
    }
    return names;
}

std::optional<std::string> HostsFileNames::nameOf(std::uint32_t address)
{
    if (const auto it = names_.find(address); it != names_.end())
        return it->second;
    return fallback_ ? fallback_->nameOf(address) : std::nullopt;
}

std::string computerNameOf(const std::string& fullName)
{
    std::string name = fullName.substr(0, fullName.find('.'));
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

} // namespace vorlu
