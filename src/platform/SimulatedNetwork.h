#pragma once
#include "platform/Management.h"
#include "platform/ServerEnumerator.h"
#include "platform/SocketLayer.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

// A whole network read from one JSON file: what the enumeration lists, what the
// resolver answers, and what each computer's management service accepts and
// returns. Immutable once loaded, so the adapters may share it across threads.
class SimulatedNetwork {
public:
    struct Account {
        std::string user;
        std::string password;
    };

    struct Management {
        bool reachable = true;
        std::vector<std::string> namespaces{"root\\cimv2"};
        std::vector<Account> accounts;
        WmiRow computerSystem; // the loader defaults it to Name = the computer's name
        std::vector<WmiRow> cdromDrives;
        bool queryError = false;
    };

    struct Computer {
        std::string name;
        bool listed = true;
        std::optional<std::string> address; // dotted IPv4; none: cannot be resolved
        int latencyMs = 0;
        Management management;
    };

    std::string localAddress = "127.0.0.1";
    SocketStartup sockets;
    std::uint32_t enumerationError = 0;
    bool enumerationFail = false;
    std::vector<Computer> computers;

    // Reads and checks the file. On failure returns nullptr and sets error to
    // one line naming the file, the position and what was expected.
    static std::shared_ptr<SimulatedNetwork> load(const std::filesystem::path& file, std::string& error);
    // The same from text already read; fileName only labels the messages.
    static std::shared_ptr<SimulatedNetwork> parse(const std::string& text, const std::string& fileName,
                                                   std::string& error);

    // What one enumeration call answers; throws EnumerationFailure.
    EnumerationAnswer enumerate() const;
    // The address bytes for a name (host names match without regard to case),
    // after the computer's latency. Safe from any thread.
    std::optional<std::vector<std::uint8_t>> resolve(const std::string& name) const;
    // The computer a management connection to server reaches; nullptr if none.
    const Computer* route(const std::string& server) const;
    // Opens a management connection the way the real service would accept or
    // refuse it (after the computer's latency); throws WmiError.
    const Computer& connect(const std::string& server, const std::string& nameSpace, const std::string& user,
                            const std::string& password) const;
    // Runs a query against one computer's rows (after its latency); throws
    // WmiError.
    std::vector<WmiRow> query(const Computer& computer, const std::string& query) const;
};

} // namespace vorlu
